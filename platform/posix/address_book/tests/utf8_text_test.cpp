#include "platform/posix/address_book/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/address_book/tests/test_support.h"

namespace orvane::posix {
namespace {

struct DecodeCase {
  const char* name;
  std::string utf8;
  std::u16string expected;
};

const DecodeCase kDecodeCases[] = {
    {"empty", "", u""},
    {"ascii", "Hello, world", u"Hello, world"},
    {"two bytes", "Caf\xC3\xA9", u"Caf\u00E9"},
    {"three bytes", "\xE9\x99\xB3\xE7\xBE\x8E\xE7\x8E\xB2", u"\u9673\u7F8E\u73B2"},
    {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
    {"nul inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    {"stray byte", "a\xFFz", u"a\uFFFDz"},
    {"lone continuation byte", "\x80x", u"\uFFFDx"},
    {"sequence cut at the end", "ok\xC3", u"ok\uFFFD"},
    {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"text after a bad byte", "\xFE\xC3\xA9t\xC3\xA9", u"\uFFFD\u00E9t\u00E9"},
};

class Utf8DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8DecodeTest, GivesUtf16) {
  EXPECT_EQ(Utf16FromUtf8(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8DecodeTest, ::testing::ValuesIn(kDecodeCases),
                         testing::RowName<DecodeCase>);

TEST(Utf8DecoderTest, DecodesTextsLongerThanItsWorkingBuffer) {
  std::string utf8;
  std::u16string expected;
  for (int i = 0; i < 3000; ++i) {
    utf8 += "\xE7\x8E\xB2" "a";
    expected += u"\u73B2a";
  }
  utf8 += "\xFF";
  expected += u"\uFFFD";
  EXPECT_EQ(Utf16FromUtf8(utf8), expected);
}

TEST(Utf8DecoderTest, OneDecoderServesManyTextsAfterAnError) {
  Utf8Decoder decoder;
  EXPECT_EQ(decoder.Decode("\xE7\x8E"), u"\uFFFD\uFFFD");
  EXPECT_EQ(decoder.Decode("\xC3\xA9"), u"\u00E9");
  EXPECT_EQ(decoder.Decode("plain"), u"plain");
}

}  // namespace
}  // namespace orvane::posix
