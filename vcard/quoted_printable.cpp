#include "vcard/quoted_printable.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character at `position`: one code unit, or two for a surrogate pair.
std::u16string_view CharacterAt(const std::u16string& text, size_t position) {
  const bool pair = IsHighSurrogate(text[position]) && position + 1 < text.size() &&
                    IsLowSurrogate(text[position + 1]);
  return std::u16string_view(text).substr(position, pair ? 2 : 1);
}

char16_t HexDigit(unsigned value) {
  return static_cast<char16_t>(value < 10 ? u'0' + value : u'A' + (value - 10));
}

// Upper-case hexadecimal digits without leading zeros ("0" for 0).
std::u16string HexDigits(uint16_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), HexDigit(value % 16u));
    value = static_cast<uint16_t>(value / 16u);
  } while (value != 0);
  return digits;
}

unsigned HexValue(std::u16string_view digits) {
  unsigned value = 0;
  for (const char16_t digit : digits) {
    value = value * 16 + (digit <= u'9' ? digit - u'0' : digit - u'A' + 10);
  }
  return value;
}

std::u16string EscapedByte(unsigned byte) {
  return {u'=', HexDigit(byte / 16 % 16), HexDigit(byte % 16)};
}

// The character of code-page value `byte`. A byte the code page cannot hold as a
// character of its own (the lead byte of a double-byte character) is written as
// "=XX" instead, so that the value still decodes to the same bytes.
std::u16string SingleByteCharacter(CodePage& code_page, unsigned byte) {
  const std::string bytes(1, static_cast<char>(byte));
  std::u16string character = code_page.ToUtf16(bytes);
  if (code_page.FromUtf16(character) == bytes) return character;
  return EscapedByte(byte);
}

// The character's code-page value as a signed 16-bit number: its byte, or the
// lead byte times 256 plus the trail byte; nothing for any other length.
std::optional<int16_t> CodePageValue(const std::string& bytes) {
  if (bytes.size() == 1) return static_cast<int16_t>(static_cast<uint8_t>(bytes[0]));
  if (bytes.size() == 2) {
    const auto value = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) * 256u +
                                             static_cast<uint8_t>(bytes[1]));
    return static_cast<int16_t>(value);
  }
  return std::nullopt;
}

std::u16string EscapedBytes(const std::string& bytes) {
  std::u16string escaped;
  for (const char byte : bytes) escaped += EscapedByte(static_cast<uint8_t>(byte));
  return escaped;
}

// Walks the hexadecimal digits of the value two at a time: a pair that starts
// with 1 to 8 becomes the character of that value, any other pair "=" and the digits.
std::u16string EncodedValue(CodePage& code_page, int16_t value) {
  const std::u16string digits = HexDigits(static_cast<uint16_t>(value));
  std::u16string encoded;
  for (size_t position = 0; position < digits.size(); position += 2) {
    const std::u16string pair = digits.substr(position, 2);
    if (pair[0] >= u'1' && pair[0] <= u'8') {
      encoded += SingleByteCharacter(code_page, HexValue(pair));
    } else {
      encoded += u'=';
      encoded += pair;
    }
  }
  return encoded;
}

std::u16string EncodedCharacter(CodePage& code_page, std::u16string_view character) {
  // These three would otherwise pass and keep the text from decoding back.
  if (character == u"=") return u"=3D";
  if (character == u"\r") return u"=0D";
  if (character == u"\n") return u"=0A";
  const std::string bytes = code_page.FromUtf16(std::u16string(character));
  // Characters of three or four bytes (UTF-8, GB18030) are escaped byte by
  // byte, so that every reader takes the same bytes back.
  if (bytes.size() > 2) return EscapedBytes(bytes);
  const auto value = CodePageValue(bytes);
  if (!value || (*value > 0 && *value < 255)) return std::u16string(character);
  // NUL has the single digit "0", which would make a broken escape.
  if (*value == 0) return EscapedBytes(bytes);
  return EncodedValue(code_page, *value);
}

}  // namespace

std::u16string EncodeQuotedPrintable(CodePage& code_page, const std::u16string& text) {
  std::u16string encoded;
  for (size_t position = 0; position < text.size();) {
    const std::u16string_view character = CharacterAt(text, position);
    encoded += EncodedCharacter(code_page, character);
    position += character.size();
  }
  return encoded;
}

}  // namespace orvane
