#include "vcard/quoted_printable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/posix/posix_code_page.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {
namespace {

TEST(QuotedPrintable, EscapesWhatWouldNotDecodeBackAndKeepsTheRest) {
  const struct {
    uint32_t code_page;
    std::u16string text;
    std::u16string encoded;
  } rows[] = {
      {1252, u"Main St\r\nFlat=3\rB\n", u"Main St=0D=0AFlat=3D3=0DB=0A"},
      {1252, u"ÿ", u"=FF"},
      {950, u"中", u"=A4=A4"},
      {950, u"一", u"=A4@"},  // a trail byte from 0x10 to 0x8F stays a character
      {936, u"丂", u"=81@"},  // a lead byte that is no character of its own is escaped
      {1252, std::u16string(u"a\0b", 3), u"a=00b"},
      {28597, std::u16string(u"\u039B\0", 2), u"\u039B=00"},
      {65001, u"é王", u"=C3=A9=E7=8E=8B"},  // every byte of a multi-byte character
      {65001, u"\U0001F600", u"=F0=9F=98=80"},
      {54936, u"王\U0001F600", u"=CD=F5=94=39=FC=36"},
  };
  for (const auto& row : rows) {
    posix::PosixCodePage code_page(row.code_page);
    EXPECT_EQ(Narrow(EncodeQuotedPrintable(code_page, row.text)), Narrow(row.encoded));
  }
  posix::PosixCodePage code_page(1252);
  std::string bytes;
  for (int value = 1; value <= 254; ++value) {
    if (value != '=' && value != '\r' && value != '\n') bytes += static_cast<char>(value);
  }
  const std::u16string text = code_page.ToUtf16(bytes);
  EXPECT_EQ(EncodeQuotedPrintable(code_page, text), text) << "1 to 254 pass";
}

// Runs of passing characters are found eight at a time: an escape must be
// found wherever it stands in a run, and the characters around it kept.
TEST(QuotedPrintable, EscapesAtEveryPlaceOfALongValue) {
  const struct {
    char16_t character;
    std::u16string_view escape;
  } escapes[] = {{u'=', u"=3D"}, {u'\r', u"=0D"}, {u'\n', u"=0A"}, {u'\0', u"=00"},
                 {u'\u00FF', u"=FF"}};
  posix::PosixCodePage code_page(1252);
  for (size_t length = 1; length <= 20; ++length) {
    std::u16string plain;
    for (size_t i = 0; i < length; ++i) plain += static_cast<char16_t>(u'a' + i);
    EXPECT_EQ(EncodeQuotedPrintable(code_page, plain), plain);
    for (size_t at = 0; at < length; ++at) {
      for (const auto& escape : escapes) {
        std::u16string text = plain;
        text[at] = escape.character;
        const std::u16string expected =
            plain.substr(0, at) + std::u16string(escape.escape) + plain.substr(at + 1);
        EXPECT_EQ(Narrow(EncodeQuotedPrintable(code_page, text)), Narrow(expected))
            << length << " " << at;
      }
      std::u16string passing = plain;
      passing[at] = u'\u00E9';  // beyond ASCII, but a byte of its own that passes
      EXPECT_EQ(EncodeQuotedPrintable(code_page, passing), passing) << length << " " << at;
    }
  }
}

}  // namespace
}  // namespace orvane::testing
