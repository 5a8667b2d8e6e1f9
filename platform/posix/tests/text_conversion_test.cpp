#include "platform/posix/text_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"

namespace orvane::posix {
namespace {

struct EncodeCase {
  std::u16string text;
  const char* charset;
  std::string expected;
};

TEST(TextConversion, EncodesUtf16ReplacingWhatTheTargetCannotHold) {
  const EncodeCase cases[] = {
      {u"", "CP1252", ""},
      {u"plain ASCII", "CP1252", "plain ASCII"},
      {u"caf\u00E9 \u20AC \u00FF", "CP1252", "caf\xE9 \x80 \xFF"},
      {u"a\u4E2Db", "CP1252", "a?b"},
      {u"\u4E2D\u6587", "CP1252", "??"},
      {u"x\U0001F600y", "CP1252", "x?y"},          // a surrogate pair is one character
      {u"\U0001F600\U0001F600", "CP950", "??"},
      {u"a\xD800z", "CP1252", "a?z"},              // a lone surrogate
      {u"a\xDC00", "CP1252", "a?"},
      {u"end\xD800", "CP1252", "end?"},
      {u"\u4E2D\u6587", "CP950", "\xA4\xA4\xA4\xE5"},
      {u"\u4E2D\u6587", "CP936", "\xD6\xD0\xCE\xC4"},
      {u"\u0416", "CP1251", "\xC6"},
      {u"\u0416", "CP1252", "?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeUtf16(c.text, c.charset, "?"), c.expected) << c.charset;
  }
}

struct Utf8Case {
  std::u16string utf16;
  std::string utf8;
};

TEST(TextConversion, ConvertsUtf16ToUtf8) {
  const Utf8Case cases[] = {
      {u"", ""},
      {u"/tmp/a b", "/tmp/a b"},
      {u"\u8CC7\u6599\u593E", "\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"a\xD800" u"b", "a\xEF\xBF\xBD" "b"},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeUtf8(c.utf16), c.utf8);
}

TEST(TextConversion, ConvertsUtf8ToUtf16) {
  const Utf8Case cases[] = {
      {u"", ""},
      {u"\u8CC7\u6599\u593E", "\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"a\uFFFD" u"b", "a\xFF" "b"},          // a byte that starts nothing
      {u"a\uFFFD", "a\xE4\xB8"},             // a character cut off at the end
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeUtf8(c.utf8), c.utf16);
}

TEST(TextConversion, DecodesCodePageBytes) {
  EXPECT_EQ(DecodeToUtf16("\xA4\xA4\xA4\xE5", "CP950"), u"\u4E2D\u6587");
  EXPECT_EQ(DecodeToUtf16("\x80\xFF", "CP1252"), u"\u20AC\u00FF");
  EXPECT_EQ(DecodeToUtf16("ok\xA4", "CP950"), u"ok\uFFFD");  // lead byte without its trail
}

TEST(TextConversion, KeepsTextLongerThanOneOutputChunk) {
  std::u16string text(10000, u'x');
  text += u"\u4E2D";
  text += std::u16string(10000, u'y');
  const std::string encoded = EncodeUtf16(text, "CP1252", "?");
  EXPECT_EQ(encoded, std::string(10000, 'x') + "?" + std::string(10000, 'y'));
  EXPECT_EQ(DecodeToUtf16(encoded, "CP1252").size(), text.size());
}

TEST(TextConversion, UnknownCharsetIsAnInvalidArgument) {
  try {
    IconvConverter converter("NO-SUCH-CHARSET", "UTF-8");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), errors::kInvalidProcedureCall);
  }
}

TEST(TextConversion, MovedConverterStillConverts) {
  IconvConverter first("CP1252", Utf16NativeCharset());
  IconvConverter second = std::move(first);
  const std::u16string text = u"\u00E9";
  const std::string_view bytes(reinterpret_cast<const char*>(text.data()), 2);
  EXPECT_EQ(second.Convert(bytes, Utf16CharacterLength, "?"), "\xE9");
}

}  // namespace
}  // namespace orvane::posix
