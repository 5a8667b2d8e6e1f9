#include "platform/automation_date.h"

#include <cmath>

namespace orvane {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kAutomationEpochDays = -25569;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
  const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t mp = (month + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

DateTimeParts CivilFromDays(int64_t days) {
  const int64_t z = days + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  DateTimeParts parts;
  parts.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts.year = static_cast<int>(yoe + era * 400 + (parts.month <= 2 ? 1 : 0));
  return parts;
}

int WeekdayFromDays(int64_t days) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>((days % 7 + 11) % 7);
}

int64_t SecondsFromParts(const DateTimeParts& parts) {
  return DaysFromCivil(parts.year, parts.month, parts.day) * kSecondsPerDay +
         parts.hour * 3600 + parts.minute * 60 + parts.second;
}

DateTimeParts PartsFromSeconds(int64_t seconds) {
  const int64_t days = FloorDiv(seconds, kSecondsPerDay);
  const int64_t of_day = seconds - days * kSecondsPerDay;
  DateTimeParts parts = CivilFromDays(days);
  parts.hour = static_cast<int>(of_day / 3600);
  parts.minute = static_cast<int>(of_day / 60 % 60);
  parts.second = static_cast<int>(of_day % 60);
  return parts;
}

AutomationDate AutomationDateFromParts(const DateTimeParts& parts) {
  const double days =
      static_cast<double>(DaysFromCivil(parts.year, parts.month, parts.day) - kAutomationEpochDays);
  const double fraction = (parts.hour * 3600 + parts.minute * 60 + parts.second) /
                          static_cast<double>(kSecondsPerDay);
  return days < 0 ? days - fraction : days + fraction;
}

std::optional<DateTimeParts> PartsFromAutomationDate(AutomationDate date) {
  // The range automation dates are defined for: years 100 to 9999.
  if (!std::isfinite(date) || date < -657435.0 || date >= 2958466.0) return std::nullopt;
  const double whole = std::trunc(date);
  const double fraction = std::fabs(date - whole);
  const int64_t seconds_of_day = std::llround(fraction * kSecondsPerDay);
  const int64_t days = static_cast<int64_t>(whole) + kAutomationEpochDays;
  DateTimeParts parts = PartsFromSeconds(days * kSecondsPerDay + seconds_of_day);
  if (!IsAutomationYear(parts.year)) return std::nullopt;
  return parts;
}

std::optional<AutomationDate> AddSeconds(AutomationDate date, int64_t seconds) {
  const auto parts = PartsFromAutomationDate(date);
  if (!parts) return std::nullopt;
  const auto moved = AddSeconds(*parts, seconds);
  if (!moved) return std::nullopt;
  return AutomationDateFromParts(*moved);
}

std::optional<DateTimeParts> AddSeconds(const DateTimeParts& parts, int64_t seconds) {
  // No longer move can stay inside the valid years, and adding it could overflow.
  constexpr int64_t kLongestMove = (2958466 + 657435) * kSecondsPerDay;
  if (seconds > kLongestMove || seconds < -kLongestMove) return std::nullopt;
  const DateTimeParts moved = PartsFromSeconds(SecondsFromParts(parts) + seconds);
  if (!IsAutomationYear(moved.year)) return std::nullopt;
  return moved;
}

}  // namespace orvane
