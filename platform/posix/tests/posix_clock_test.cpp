#include "platform/posix/posix_clock.h"

#include <gtest/gtest.h>
#include <time.h>

#include <ctime>
#include <map>
#include <string>

#include "platform/automation_date.h"
#include "platform/posix/tests/fake_locale_settings.h"

namespace orvane::posix {
namespace {

using testing::FakeLocaleSettings;

TEST(PosixClock, CLocaleTexts) {
  PosixClock clock("C");
  const AutomationDate date = AutomationDateFromParts({1999, 12, 31, 23, 59, 58});
  EXPECT_EQ(clock.ShortDateText(date), u"12/31/99");
  EXPECT_EQ(clock.LongTimeText(date), u"23:59:58");
  const AutomationDate morning = AutomationDateFromParts({2005, 3, 1, 7, 5, 9});
  EXPECT_EQ(clock.ShortDateText(morning), u"03/01/05");
  EXPECT_EQ(clock.LongTimeText(morning), u"07:05:09");
}

TEST(PosixClock, DatesBeforeTheEpochOfAutomationDates) {
  PosixClock clock("C");
  EXPECT_EQ(clock.ShortDateText(-1.25), u"12/29/99");
  EXPECT_EQ(clock.LongTimeText(-1.25), u"06:00:00");
}

TEST(PosixClock, LocaleThatIsNotInstalledFallsBackToC) {
  PosixClock clock("xx_NOWHERE.UTF-8");
  EXPECT_EQ(clock.LongTimeText(AutomationDateFromParts({2020, 1, 2, 3, 4, 5})), u"03:04:05");
}

TEST(PosixClock, DateOutsideTheValidYearsHasNoText) {
  PosixClock clock("C");
  EXPECT_EQ(clock.ShortDateText(1e9), u"");
  EXPECT_EQ(clock.LongTimeText(-1e9), u"");
}

TEST(PosixClock, NowIsTheLocalWallClock) {
  const auto local_now = [] {
    const time_t now = ::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return AutomationDateFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                    local.tm_hour, local.tm_min, local.tm_sec});
  };
  PosixClock clock("C");
  const AutomationDate before = local_now();
  const AutomationDate now = clock.Now();
  const AutomationDate after = local_now();
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
}

TEST(PosixClock, LocaleNameComesFromTheTimeSettings) {
  const struct {
    std::map<std::string, std::string> environment;
    std::string expected;
  } cases[] = {
      {{}, "C"},
      {{{"LANG", "de_DE.UTF-8"}}, "de_DE.UTF-8"},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "fr_FR.UTF-8"}}, "fr_FR.UTF-8"},
      {{{"LC_ALL", "zh_TW.UTF-8"}, {"LC_TIME", "fr_FR.UTF-8"}}, "zh_TW.UTF-8"},
      {{{"LC_ALL", ""}, {"LC_TIME", ""}, {"LANG", "ja_JP"}}, "ja_JP"},
      {{{"LC_MESSAGES", "ko_KR"}}, "C"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TimeLocaleName(FakeLocaleSettings(c.environment)), c.expected);
  }
}

}  // namespace
}  // namespace orvane::posix
