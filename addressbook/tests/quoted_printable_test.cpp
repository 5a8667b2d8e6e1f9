#include <gtest/gtest.h>

#include <string>

#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_call.h"
#include "addressbook/vcard_writer.h"

namespace orvane::testing {
namespace {

// Rows print as their names.
using orvane::testing::PrintTo;

int HexValue(char16_t digit) {
  if (digit >= u'0' && digit <= u'9') return digit - u'0';
  if (digit >= u'A' && digit <= u'F') return digit - u'A' + 10;
  return -1;
}

// The bytes a quoted-printable reader takes from the text: "=XX" is byte XX and
// every other character its bytes in the code page. Nothing when a "=" is not
// followed by two hexadecimal digits.
std::optional<std::string> DecodedBytes(CodePage& code_page, const std::u16string& encoded) {
  std::string bytes;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != u'=') {
      const size_t length = (encoded[i] >= 0xD800 && encoded[i] <= 0xDBFF) ? 2 : 1;
      bytes += code_page.FromUtf16(encoded.substr(i, length));
      i += length - 1;
      continue;
    }
    if (i + 2 >= encoded.size()) return std::nullopt;
    const int high = HexValue(encoded[i + 1]);
    const int low = HexValue(encoded[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return bytes;
}

struct EncodingCase {
  const char* name;
  uint32_t code_page;
  std::u16string text;
  std::u16string encoded;
};

class QuotedPrintable : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(QuotedPrintable, EncodesAsExpected) {
  IconvCodePage code_page(GetParam().code_page);
  EXPECT_EQ(Visible(EncodeQuotedPrintable(code_page, GetParam().text)),
            Visible(GetParam().encoded));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuotedPrintable,
    ::testing::Values(
        EncodingCase{"PlainTextPasses", 1252, u"1 Main St Springfield, IL", u"1 Main St Springfield, IL"},
        EncodingCase{"EqualsSign", 1252, u"Flat=3", u"Flat=3D3"},
        EncodingCase{"LineBreak", 1252, u"Main St\r\nBuilding B", u"Main St=0D=0ABuilding B"},
        EncodingCase{"BareLineFeed", 1252, u"a\nb", u"a=0Ab"},
        EncodingCase{"BareCarriageReturn", 1252, u"a\rb", u"a=0Db"},
        EncodingCase{"HighValuesPass", 1252, u"Straße Zürich €", u"Straße Zürich €"},
        EncodingCase{"ValueOne", 1252, u"\u0001", u"\u0001"},
        EncodingCase{"Value255", 1252, u"ÿ", u"=FF"},
        EncodingCase{"NotInCodePagePasses", 1252, u"中", u"中"},
        EncodingCase{"Empty", 1252, u"", u""},
        EncodingCase{"DoubleByteA4A4", 950, u"中", u"=A4=A4"},
        EncodingCase{"TrailByteStartingWith4", 950, u"一", u"=A4@"},
        EncodingCase{"AsciiInDoubleByteCodePage", 950, u"Room 5", u"Room 5"},
        EncodingCase{"EqualsInDoubleByteCodePage", 950, u"中=", u"=A4=A4=3D"},
        EncodingCase{"LoneLeadByteIsEscaped", 936, u"丂", u"=81@"}),
    RowName<EncodingCase>);

TEST(QuotedPrintable, EveryValueFrom1To254PassesButTheThreeEscapes) {
  IconvCodePage code_page(1252);
  std::string bytes;
  for (int value = 1; value <= 254; ++value) {
    if (value != '=' && value != '\r' && value != '\n') bytes += static_cast<char>(value);
  }
  const std::u16string text = code_page.ToUtf16(bytes);
  EXPECT_EQ(Visible(EncodeQuotedPrintable(code_page, text)), Visible(text));
}

// Whatever the text, a reader gets back the bytes the code page writes for it.
struct RoundTripCase {
  uint32_t code_page;
  std::u16string text;
};

class QuotedPrintableRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(QuotedPrintableRoundTrip, DecodesToTheSameBytes) {
  IconvCodePage code_page(GetParam().code_page);
  const auto decoded =
      DecodedBytes(code_page, EncodeQuotedPrintable(code_page, GetParam().text));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, code_page.FromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuotedPrintableRoundTrip,
    ::testing::Values(RoundTripCase{1252, u"a=b\r\nc=\r\n=3D ÿ é"},
                      RoundTripCase{950, u"台北市\r\n中正區 100=一"},
                      RoundTripCase{936, u"北京市\r\n丂丄丅丆 亐 =1"}));

}  // namespace
}  // namespace orvane::testing
