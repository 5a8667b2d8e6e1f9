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

}  // namespace
}  // namespace orvane::testing
