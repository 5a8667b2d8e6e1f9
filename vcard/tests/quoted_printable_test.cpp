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
