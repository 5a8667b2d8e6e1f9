#include "hosts/cli/iso_time.h"

#include <cstdio>

#include "platform/automation_date.h"

namespace orvane::cli {

std::optional<std::string> IsoTextOf(AutomationDate date) {
  const std::optional<DateTimeParts> parts = PartsFromAutomationDate(date);
  if (!parts) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", parts->year, parts->month,
                parts->day, parts->hour, parts->minute, parts->second);
  return std::string(text);
}

}  // namespace orvane::cli
