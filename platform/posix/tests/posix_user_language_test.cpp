#include "platform/posix/posix_user_language.h"

#include <gtest/gtest.h>

#include "platform/posix/tests/fake_locale_settings.h"

namespace orvane::posix {
namespace {

using testing::FakeLocaleSettings;

TEST(PosixUserLanguage, LanguageIdForLocaleTable) {
  const struct {
    const char* locale;
    uint16_t expected;
  } cases[] = {
      {"zh_TW.UTF-8", 1028}, {"zh_TW", 1028},     {"zh_HK.Big5@x", 1028}, {"zh_MO.UTF-8", 1028},
      {"zh_tw.utf8", 1028},  {"zh_CN.UTF-8", 2052}, {"zh_CN.GB18030", 2052}, {"zh_SG", 2052},
      {"zh", 2052},          {"zh.UTF-8", 2052},  {"zh@pinyin", 2052},    {"C", 1033},
      {"POSIX", 1033},       {"", 1033},          {"en_US.UTF-8", 1033},  {"ja_JP.EUC-JP", 1033},
      {"zha_CN", 1033},      {"C.UTF-8", 1033},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageIdForLocale(c.locale), c.expected) << c.locale;
}

TEST(PosixUserLanguage, ReadsTheMessagesLocale) {
  const struct {
    std::map<std::string, std::string> environment;
    uint16_t expected;
  } cases[] = {
      {{}, 1033},
      {{{"LANG", "zh_TW.UTF-8"}}, 1028},
      {{{"LANG", "zh_TW.UTF-8"}, {"LC_MESSAGES", "zh_CN.UTF-8"}}, 2052},
      {{{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_CN.UTF-8"}}, 1033},
      {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "zh_HK"}}, 1028},
      {{{"LC_CTYPE", "zh_TW.UTF-8"}, {"LC_TIME", "zh_TW.UTF-8"}}, 1033},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PosixUserLanguage(FakeLocaleSettings(c.environment)).LanguageId(), c.expected);
  }
}

}  // namespace
}  // namespace orvane::posix
