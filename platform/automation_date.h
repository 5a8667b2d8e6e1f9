#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace orvane {

// A calendar date and time of day, to whole seconds.
struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Days from 1970-01-01 to the given proleptic Gregorian date (negative before it).
int64_t DaysFromCivil(int year, int month, int day);
DateTimeParts CivilFromDays(int64_t days);
// 0 = Sunday ... 6 = Saturday.
int WeekdayFromDays(int64_t days);

// The years automation dates cover.
inline constexpr int kFirstAutomationYear = 100;
inline constexpr int kLastAutomationYear = 9999;
constexpr bool IsAutomationYear(int year) {
  return year >= kFirstAutomationYear && year <= kLastAutomationYear;
}

// Automation dates count days from 30 December 1899; before that day the
// fraction still counts forward from midnight (-1.25 is 29 December, 06:00).
AutomationDate AutomationDateFromParts(const DateTimeParts& parts);
// Rounded to the nearest second. Nothing for values outside years 100 to 9999.
std::optional<DateTimeParts> PartsFromAutomationDate(AutomationDate date);

// Seconds since 1970-01-01 00:00:00 of the wall-clock time the parts name.
int64_t SecondsFromParts(const DateTimeParts& parts);
DateTimeParts PartsFromSeconds(int64_t seconds);

// `date` moved by `seconds`; nothing when it leaves the valid range.
std::optional<AutomationDate> AddSeconds(AutomationDate date, int64_t seconds);
// The same on a date's parts, which need no conversion to and from a number of days.
std::optional<DateTimeParts> AddSeconds(const DateTimeParts& parts, int64_t seconds);

}  // namespace orvane
