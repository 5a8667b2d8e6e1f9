#include <cmath>
#include <limits>

#include "addressbook/vcard_writer.h"

namespace orvane {
namespace {

constexpr double kSecondsPerHour = 3600.0;
// Far beyond the range of dates; keeps the seconds below from overflowing.
constexpr double kLargestOffsetHours = 1e8;

// The bias in hours, the sum taken as a 32-bit number; a sum that does not fit
// counts as a failure.
float BiasHours(int64_t minutes) {
  if (minutes < std::numeric_limits<int32_t>::min() ||
      minutes > std::numeric_limits<int32_t>::max()) {
    return 0;
  }
  return static_cast<float>(static_cast<double>(minutes) / 60.0);
}

std::optional<int64_t> OffsetSeconds(float UtcOffsetHours) {
  const double hours = UtcOffsetHours;
  if (!std::isfinite(hours) || std::fabs(hours) > kLargestOffsetHours) return std::nullopt;
  return std::llround(hours * kSecondsPerHour);
}

}  // namespace

float GetUtcOffsetHours(TimeZone& time_zone) {
  const auto minutes = BiasInForceMinutes(time_zone.GetTimeZoneInformation());
  return minutes ? BiasHours(*minutes) : 0.0f;
}

std::optional<AutomationDate> ShiftByUtcOffset(AutomationDate date, float UtcOffsetHours) {
  const auto seconds = OffsetSeconds(UtcOffsetHours);
  if (!seconds) return std::nullopt;
  return AddSeconds(date, *seconds);
}

std::optional<DateTimeParts> ShiftByUtcOffset(const DateTimeParts& date, float UtcOffsetHours) {
  const auto seconds = OffsetSeconds(UtcOffsetHours);
  if (!seconds) return std::nullopt;
  return AddSeconds(date, *seconds);
}

}  // namespace orvane
