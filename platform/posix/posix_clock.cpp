#include "platform/posix/posix_clock.h"

#include <langinfo.h>
#include <time.h>

#include <ctime>
#include <optional>

#include "platform/automation_date.h"
#include "platform/error.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

constexpr std::size_t kLongestText = 4096;

locale_t OpenLocale(const std::string& name) {
  if (locale_t opened = ::newlocale(LC_ALL_MASK, name.c_str(), locale_t{})) return opened;
  if (locale_t fallback = ::newlocale(LC_ALL_MASK, "C", locale_t{})) return fallback;
  throw Error(errors::kOutOfMemory);
}

std::tm CalendarTimeOf(const DateTimeParts& parts) {
  const int64_t days = DaysFromCivil(parts.year, parts.month, parts.day);
  std::tm calendar{};
  calendar.tm_year = parts.year - 1900;
  calendar.tm_mon = parts.month - 1;
  calendar.tm_mday = parts.day;
  calendar.tm_hour = parts.hour;
  calendar.tm_min = parts.minute;
  calendar.tm_sec = parts.second;
  calendar.tm_wday = WeekdayFromDays(days);
  calendar.tm_yday = static_cast<int>(days - DaysFromCivil(parts.year, 1, 1));
  return calendar;
}

DateTimeParts PartsOf(const std::tm& calendar) {
  return {calendar.tm_year + 1900, calendar.tm_mon + 1, calendar.tm_mday,
          calendar.tm_hour,        calendar.tm_min, calendar.tm_sec};
}

}  // namespace

std::string TimeLocaleName(const EnvironmentReader& environment) {
  const std::string name = FirstSetVariable(environment, {"LC_ALL", "LC_TIME", "LANG"});
  return name.empty() ? "C" : name;
}

PosixClock::PosixClock(const std::string& locale_name)
    : locale_(OpenLocale(locale_name.empty() ? "C" : locale_name)),
      codeset_(::nl_langinfo_l(CODESET, locale_)) {}

PosixClock::~PosixClock() { ::freelocale(locale_); }

AutomationDate PosixClock::Now() {
  const time_t now = ::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return AutomationDateFromParts(PartsOf(local));
}

std::u16string PosixClock::ShortDateText(AutomationDate date) { return Format(date, "%x"); }

std::u16string PosixClock::LongTimeText(AutomationDate date) { return Format(date, "%X"); }

std::u16string PosixClock::Format(AutomationDate date, const char* format) {
  const std::optional<DateTimeParts> parts = PartsFromAutomationDate(date);
  if (!parts) return {};
  const std::tm calendar = CalendarTimeOf(*parts);
  // strftime tells a buffer too small from an empty text only by trying a larger one.
  for (std::size_t size = 128; size <= kLongestText; size *= 2) {
    std::string text(size, '\0');
    const std::size_t length = ::strftime_l(text.data(), size, format, &calendar, locale_);
    if (length > 0) {
      text.resize(length);
      return DecodeToUtf16(text, codeset_);
    }
  }
  return {};
}

}  // namespace orvane::posix
