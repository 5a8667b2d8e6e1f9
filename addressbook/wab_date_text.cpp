#include <array>

#include "component/ascii_text.h"
#include "addressbook/property_reader.h"

namespace orvane {
namespace {

constexpr size_t kDateLength = 10;           // yyyy-MM-dd
constexpr size_t kDateAndTimeLength = 19;    // yyyy-MM-dd HH:mm:ss

// The number written by `count` decimal digits from `position`; -1 when one is not a digit.
int DigitsAt(std::u16string_view text, size_t position, size_t count) {
  int value = 0;
  for (size_t i = position; i < position + count; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return -1;
    value = value * 10 + (text[i] - u'0');
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

bool IsValidDate(const DateTimeParts& parts) {
  return IsAutomationYear(parts.year) && parts.month >= 1 && parts.month <= 12 && parts.day >= 1 &&
         parts.day <= DaysInMonth(parts.year, parts.month);
}

bool IsValidTime(const DateTimeParts& parts) {
  return parts.hour >= 0 && parts.hour < 24 && parts.minute >= 0 && parts.minute < 60 &&
         parts.second >= 0 && parts.second < 60;
}

std::optional<DateTimeParts> ReadDate(std::u16string_view text) {
  if (text[4] != u'-' || text[7] != u'-') return std::nullopt;
  DateTimeParts parts;
  parts.year = DigitsAt(text, 0, 4);
  parts.month = DigitsAt(text, 5, 2);
  parts.day = DigitsAt(text, 8, 2);
  if (!IsValidDate(parts)) return std::nullopt;
  return parts;
}

bool ReadTimeOfDay(std::u16string_view text, DateTimeParts& parts) {
  if (text[10] != u' ' || text[13] != u':' || text[16] != u':') return false;
  parts.hour = DigitsAt(text, 11, 2);
  parts.minute = DigitsAt(text, 14, 2);
  parts.second = DigitsAt(text, 17, 2);
  return IsValidTime(parts);
}

}  // namespace

void AppendWabDateText(AutomationDate date, std::u16string& text) {
  const auto parts = PartsFromAutomationDate(date);
  if (!parts) return;
  AppendDigits(text, parts->year, 4);
  text += u'-';
  AppendDigits(text, parts->month, 2);
  text += u'-';
  AppendDigits(text, parts->day, 2);
  if (parts->hour != 0 || parts->minute != 0 || parts->second != 0) {
    text += u' ';
    AppendDigits(text, parts->hour, 2);
    text += u':';
    AppendDigits(text, parts->minute, 2);
    text += u':';
    AppendDigits(text, parts->second, 2);
  }
}

std::optional<AutomationDate> ReadWabDateText(std::u16string_view text) {
  if (text.size() != kDateLength && text.size() != kDateAndTimeLength) return std::nullopt;
  auto parts = ReadDate(text);
  if (!parts) return std::nullopt;
  if (text.size() == kDateAndTimeLength && !ReadTimeOfDay(text, *parts)) return std::nullopt;
  return AutomationDateFromParts(*parts);
}

}  // namespace orvane
