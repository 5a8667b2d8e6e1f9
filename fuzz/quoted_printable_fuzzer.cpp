// The quoted-printable encoder on any text in any code page: the encoded value
// holds no line break and decodes to exactly the bytes of the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/posix/posix_code_page.h"
#include "vcard/quoted_printable.h"

namespace {

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

// Strict decoding: "=" must be followed by two upper-case hexadecimal digits.
bool Decode(const std::string& encoded, std::string& decoded) {
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '=') {
      decoded += encoded[i];
      continue;
    }
    if (i + 2 >= encoded.size()) return false;
    const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
    if (high < 0 || low < 0) return false;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvane::fuzzing::FuzzInput input(data, size);
  orvane::posix::PosixCodePage code_page(input.CodePage());
  const std::u16string text = input.RestAsUtf16();
  const std::u16string encoded = orvane::EncodeQuotedPrintable(code_page, text);
  FUZZ_CHECK(encoded.find_first_of(u"\r\n") == std::u16string::npos);
  std::string decoded;
  FUZZ_CHECK(Decode(code_page.FromUtf16(encoded), decoded));
  FUZZ_CHECK(decoded == code_page.FromUtf16(text));
  return 0;
}
