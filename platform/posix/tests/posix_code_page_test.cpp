#include "platform/posix/posix_code_page.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/posix/tests/fake_locale_settings.h"

namespace orvane::posix {
namespace {

using testing::FakeLocaleSettings;

TEST(PosixCodePage, CodePageForLocaleTable) {
  const struct {
    const char* locale;
    uint32_t expected;
  } cases[] = {
      {"zh_TW.UTF-8", 950},  {"zh_HK.Big5-HKSCS", 950}, {"zh_MO", 950},
      {"zh_CN.UTF-8", 936},  {"zh_SG.GBK", 936},        {"zh", 936},
      {"ja_JP.UTF-8", 932},  {"ja", 932},               {"ko_KR.EUC-KR", 949},
      {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},           {"bg_BG.CP1251", 1251},
      {"en_US.UTF-8", 1252}, {"de_DE@euro", 1252},      {"C", 1252},
      {"POSIX", 1252},       {"", 1252},                {"C.UTF-8", 1252},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageForLocale(c.locale), c.expected) << c.locale;
}

TEST(PosixCodePage, ReadsTheCharacterTypeLocale) {
  const struct {
    std::map<std::string, std::string> environment;
    uint32_t expected;
  } cases[] = {
      {{}, 1252},
      {{{"LANG", "zh_TW.UTF-8"}}, 950},
      {{{"LANG", "zh_TW.UTF-8"}, {"LC_CTYPE", "ja_JP.UTF-8"}}, 932},
      {{{"LC_ALL", "ko_KR.UTF-8"}, {"LC_CTYPE", "ja_JP.UTF-8"}}, 949},
      {{{"LC_MESSAGES", "zh_CN.UTF-8"}}, 1252},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SystemCodePageNumber(FakeLocaleSettings(c.environment)), c.expected);
  }
}

TEST(PosixCodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  PosixCodePage western(1252);
  EXPECT_EQ(western.Number(), 1252u);
  EXPECT_EQ(western.FromUtf16(u"Name: \u738B\u5C0F\u660E."), "Name: ???.");
  EXPECT_EQ(western.FromUtf16(u"\U00020000x"), "?x");
  EXPECT_EQ(western.FromUtf16(u"\u00FF"), "\xFF");
  EXPECT_EQ(western.ToUtf16("\xFF"), u"\u00FF");
}

TEST(PosixCodePage, ChineseRoundTrips) {
  const struct {
    uint32_t number;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {950, u"\u901A\u8A0A\u9304 A1", "\xB3\x71\xB0\x54\xBF\xFD A1"},
      {936, u"\u901A\u8BAF\u7C3F B2", "\xCD\xA8\xD1\xB6\xB2\xBE B2"},
  };
  for (const auto& c : cases) {
    PosixCodePage page(c.number);
    EXPECT_EQ(page.FromUtf16(c.text), c.bytes) << c.number;
    EXPECT_EQ(page.ToUtf16(c.bytes), c.text) << c.number;
  }
}

TEST(PosixCodePage, UnknownCodePageFailsAtOnce) {
  EXPECT_THROW(PosixCodePage(12345), Error);
}

}  // namespace
}  // namespace orvane::posix
