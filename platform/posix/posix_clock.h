#pragma once

#include <locale.h>

#include <string>

#include "platform/clock.h"
#include "platform/posix/environment.h"

namespace orvane::posix {

// The locale whose date and time formats the user reads: LC_ALL, LC_TIME, LANG,
// the first that is set; "C" when none is.
std::string TimeLocaleName(const EnvironmentReader& environment);

// The wall clock, and date and time texts in the formats of one locale
// (strftime "%x" and "%X"), turned from that locale's codeset into UTF-16.
// A locale that is not installed is replaced by "C".
class PosixClock final : public Clock {
 public:
  explicit PosixClock(const std::string& locale_name);
  ~PosixClock() override;
  PosixClock(const PosixClock&) = delete;
  PosixClock& operator=(const PosixClock&) = delete;

  // The local date and time, to the whole second.
  AutomationDate Now() override;
  // Both give empty text for a date outside the years 100 to 9999.
  std::u16string ShortDateText(AutomationDate date) override;
  std::u16string LongTimeText(AutomationDate date) override;

 private:
  std::u16string Format(AutomationDate date, const char* format);

  locale_t locale_;
  std::string codeset_;
};

}  // namespace orvane::posix
