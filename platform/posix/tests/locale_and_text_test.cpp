#include <gtest/gtest.h>
#include <time.h>

#include <ctime>
#include <string>

#include "platform/automation_date.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/posix_user_language.h"
#include "platform/posix/tests/test_helpers.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

using namespace std::string_literals;
using testing::FakeEnvironment;
using testing::ThrownErrorNumber;
using Variables = std::map<std::string, std::string>;

TEST(Locale, CodePageByLanguageAndLanguageTable) {
  const struct { const char* locale; uint32_t code_page; uint16_t language; } cases[] = {
      {"zh_TW.UTF-8", 950, 1028},   {"zh_tw.utf8", 950, 1028},    {"zh_HK.Big5-HKSCS", 950, 1028},
      {"zh_MO@modifier", 950, 1028}, {"zh_CN.GB18030", 936, 2052}, {"zh_SG", 936, 2052},
      {"zh", 936, 2052},             {"zha_CN", 1252, 1033},       {"ja_JP.EUC-JP", 932, 1033},
      {"ko_KR.EUC-KR", 949, 1033},   {"ru_RU.UTF-8", 1251, 1033},  {"uk_UA", 1251, 1033},
      {"bg_BG.CP1251", 1251, 1033},  {"en_US.UTF-8", 1252, 1033},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePageForLanguage(c.locale), c.code_page) << c.locale;
    EXPECT_EQ(LanguageIdForLocale(c.locale), c.language) << c.locale;
  }
}

// The character set decides, so that no name the user's files hold becomes "?".
TEST(Locale, CodePageFollowsTheCharacterSetTable) {
  const struct { const char* ctype; const char* messages; uint32_t code_page; } cases[] = {
      {"C.UTF-8", "C.UTF-8", 65001},         {"en_US.UTF-8", "", 65001},
      {"zh_TW.utf8", "", 65001},             {"el_GR.UTF-8@euro", "", 65001},
      {"zh_TW.Big5", "", 950},               {"zh_HK.BIG5-HKSCS", "", 950},
      {"zh_CN.GBK", "", 936},                {"zh_CN.gb2312", "", 936},
      {"zh_CN.GB18030", "", 54936},          {"de_DE.ISO-8859-1", "", 28591},
      {"el_GR.ISO-8859-7", "", 28597},       {"et_EE.ISO-8859-15", "", 28605},
      {"lt_LT.ISO-8859-13", "", 28603},      {"ru_RU.KOI8-R", "", 1251},
      {"zh_TW", "", 950},                    {"ja_JP.EUC-JP", "", 932},
      {"C", "zh_TW.UTF-8", 950},             {"POSIX", "zh_CN", 936},
      {"", "ru_RU", 1251},                   {"C", "C", 1252},
      {"en_US", "zh_TW.UTF-8", 1252},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.ctype) + " / " + c.messages);
    EXPECT_EQ(CodePageForLocale(c.ctype, c.messages), c.code_page);
    PosixCodePage page(c.code_page);  // iconv knows every one of them
  }
}

// Multi-byte sets keep every character, and read back.
TEST(PosixCodePage, UnicodeAndIsoSetsTable) {
  const struct { uint32_t page; std::u16string text; std::string bytes; } cases[] = {
      {65001, u"\u738B\u5C0F\u660E \u00E9", "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E \xC3\xA9"},
      {54936, u"\u738B \U0001F600", "\xCD\xF5 \x94\x39\xFC\x36"},
      {28597, u"\u0391\u03B8\u03B7\u03BD\u03AC", "\xC1\xE8\xE7\xED\xDC"},
      {28605, u"\u20AC", "\xA4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    PosixCodePage page(c.page);
    EXPECT_EQ(page.FromUtf16(c.text), c.bytes);
    EXPECT_EQ(page.ToUtf16(c.bytes), c.text);
  }
}

// LC_ALL, then the service's own category, then LANG; empty values do not count.
TEST(Locale, EachServiceReadsItsOwnCategoryTable) {
  const Variables categories = {
      {"LC_TIME", "fr_FR.UTF-8"}, {"LC_CTYPE", "ja_JP.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}};
  const auto with = [&](Variables more) {
    more.insert(categories.begin(), categories.end());
    return more;
  };
  const struct { Variables environment; std::string time; uint32_t code_page; uint16_t language; }
      cases[] = {
          {{}, "C", 1252, 1033},
          {with({{"LANG", "ko_KR.UTF-8"}}), "fr_FR.UTF-8", 65001, 1028},
          {{{"LANG", "zh_TW.UTF-8"}, {"LC_CTYPE", "C"}}, "zh_TW.UTF-8", 950, 1028},
          {with({{"LC_ALL", "zh_CN.UTF-8"}}), "zh_CN.UTF-8", 65001, 2052},
          {with({{"LC_ALL", "zh_CN.GBK"}}), "zh_CN.GBK", 936, 2052},
          {{{"LC_ALL", ""}, {"LC_TIME", ""}, {"LANG", "zh_HK"}}, "zh_HK", 950, 1028},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    const EnvironmentReader environment = FakeEnvironment(c.environment);
    EXPECT_EQ(TimeLocaleName(environment), c.time);
    EXPECT_EQ(SystemCodePageNumber(environment), c.code_page);
    EXPECT_EQ(PosixUserLanguage(environment).LanguageId(), c.language);
  }
}

TEST(PosixClock, ShortDateAndLongTimeInTheGivenLocale) {
  const AutomationDate date = AutomationDateFromParts({1999, 12, 31, 23, 59, 58});
  PosixClock clock("C");
  EXPECT_EQ(clock.ShortDateText(date), u"12/31/99");
  EXPECT_EQ(clock.LongTimeText(date), u"23:59:58");
  EXPECT_EQ(clock.ShortDateText(1e9), u"");  // outside the years 100 to 9999
  EXPECT_EQ(PosixClock("xx_NOWHERE.UTF-8").LongTimeText(date), u"23:59:58");  // not installed
}

TEST(PosixClock, NowIsTheLocalWallClock) {
  const time_t now = ::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  EXPECT_NEAR(PosixClock("C").Now(),
              AutomationDateFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                       local.tm_hour, local.tm_min, local.tm_sec}),
              2.0 / 86400);
}

// Each character a code page cannot hold becomes one "?"; what it holds comes back.
TEST(PosixCodePage, ConvertsTable) {
  const struct { uint32_t page; std::u16string text; std::string bytes; bool round_trips; }
      cases[] = {
          {1252, u"caf\u00E9 \u20AC \u00FF", "caf\xE9 \x80 \xFF", true},
          {1252, u"Name: \u738B\u5C0F\u660E.", "Name: ???.", false},
          {1252, u"x\U0001F600y", "x?y", false},  // a surrogate pair is one character
          {1252, u"a\xD800z", "a?z", false},      // a lone surrogate
          {1252, u"end\xD800", "end?", false},
          {950, u"\u901A\u8A0A\u9304 A1", "\xB3\x71\xB0\x54\xBF\xFD A1", true},
          {936, u"\u901A\u8BAF\u7C3F B2", "\xCD\xA8\xD1\xB6\xB2\xBE B2", true},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    PosixCodePage page(c.page);
    EXPECT_EQ(page.Number(), c.page);
    EXPECT_EQ(page.FromUtf16(c.text), c.bytes);
    if (c.round_trips) {
      EXPECT_EQ(page.ToUtf16(c.bytes), c.text);
    }
  }
  EXPECT_EQ(ThrownErrorNumber([] { PosixCodePage(12345); }), 5);  // unknown: fails at once
}

TEST(TextConversion, Utf8BothWays) {
  const struct { std::u16string utf16; std::string utf8; } cases[] = {
      {u"\u8CC7\u6599\u593E", "\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE"},
      {u"a\0b"s, "a\0b"s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeUtf8(c.utf16), c.utf8);
    EXPECT_EQ(DecodeUtf8(c.utf8), c.utf16);
  }
  EXPECT_EQ(EncodeUtf8(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(DecodeUtf8("a\xFF" "b"), u"a\uFFFD" u"b");
}

// UTF-8 and the code pages of one byte a character are converted without iconv
// where they can be; the answers must be iconv's all the same.
TEST(TextConversion, ConversionsWithoutIconvAgreeWithIt) {
  for (int lead = 0; lead < 0x100; ++lead) {
    for (const int next : {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0}) {
      const std::string bytes{static_cast<char>(lead), static_cast<char>(next)};
      for (const std::string& text : {bytes, bytes + "\x80", bytes + "\x80\x80", bytes + "a"}) {
        EXPECT_EQ(DecodeUtf8(text), DecodeToUtf16(text, "UTF-8")) << lead << " " << next;
      }
    }
  }
  for (char16_t unit = 0x80; unit != 0; ++unit) {
    const std::u16string text = std::u16string(1, unit) + u"a";
    EXPECT_EQ(EncodeUtf8(text), EncodeUtf16(text, "UTF-8", "\xEF\xBF\xBD")) << int{unit};
  }
  for (const uint32_t page : {1252u, 1251u, 65001u}) {
    PosixCodePage code_page(page);
    const std::string charset = page == 65001 ? "UTF-8" : "CP" + std::to_string(page);
    for (char16_t unit = 0x80; unit != 0; ++unit) {
      const std::u16string text = std::u16string(1, unit) + u"\u00E9";
      EXPECT_EQ(code_page.FromUtf16(text), EncodeUtf16(text, charset, "?")) << int{unit};
    }
    for (int byte = 0; byte < 0x100; ++byte) {
      const std::string bytes = std::string(1, static_cast<char>(byte)) + "\xE9";
      EXPECT_EQ(code_page.ToUtf16(bytes), DecodeToUtf16(bytes, charset)) << byte;
    }
  }
  EXPECT_EQ(EncodeUtf8(u"\U0010FFFF\uFFFF"), "\xF4\x8F\xBF\xBF\xEF\xBF\xBF");
  EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF\xEF\xBF\xBF"), u"\U0010FFFF\uFFFF");
}

TEST(TextConversion, KeepsTextLongerThanOneOutputChunk) {
  const std::u16string text = std::u16string(10000, u'x') + u"\u4E2D" + std::u16string(10000, u'y');
  const std::string encoded = EncodeUtf16(text, "CP1252", "?");
  EXPECT_EQ(encoded, std::string(10000, 'x') + "?" + std::string(10000, 'y'));
  EXPECT_EQ(DecodeToUtf16(encoded, "CP1252").size(), text.size());
}

// A character cut off at the end counts once, and leaves nothing behind for the
// next text, which the thread's same converter reads.
TEST(TextConversion, OneConverterServesManyTexts) {
  EXPECT_EQ(DecodeUtf8("\xE7\x8E"), u"\uFFFD");
  EXPECT_EQ(DecodeUtf8("\xC3\xA9"), u"\u00E9");
  EXPECT_EQ(&ThreadConverter(Utf16NativeCharset(), "UTF-8"),
            &ThreadConverter(Utf16NativeCharset(), "UTF-8"));
}

}  // namespace
}  // namespace orvane::posix
