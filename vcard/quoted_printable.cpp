#include "vcard/quoted_printable.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/character_scan.h"
#include "platform/utf_character.h"

namespace orvane {
namespace {

// The character at `position`: one code unit, or two for a surrogate pair.
std::u16string_view CharacterAt(std::u16string_view text, size_t position) {
  const bool pair = IsHighSurrogate(text[position]) && position + 1 < text.size() &&
                    IsLowSurrogate(text[position + 1]);
  return text.substr(position, pair ? 2 : 1);
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

void AppendEscapedByte(unsigned byte, std::u16string& out) {
  out += u'=';
  out += HexDigit(byte / 16 % 16);
  out += HexDigit(byte % 16);
}

// The character of code-page value `byte`. A byte the code page cannot hold as a
// character of its own (the lead byte of a double-byte character) is written as
// "=XX" instead, so that the value still decodes to the same bytes.
void AppendSingleByteCharacter(CodePage& code_page, unsigned byte, std::u16string& out) {
  const std::string bytes(1, static_cast<char>(byte));
  std::u16string character = code_page.ToUtf16(bytes);
  if (code_page.FromUtf16(character) == bytes) {
    out += character;
  } else {
    AppendEscapedByte(byte, out);
  }
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

void AppendEscapedBytes(const std::string& bytes, std::u16string& out) {
  for (const char byte : bytes) AppendEscapedByte(static_cast<uint8_t>(byte), out);
}

// Walks the hexadecimal digits of the value two at a time: a pair that starts
// with 1 to 8 becomes the character of that value, any other pair "=" and the digits.
void AppendEncodedValue(CodePage& code_page, int16_t value, std::u16string& out) {
  const std::u16string digits = HexDigits(static_cast<uint16_t>(value));
  for (size_t position = 0; position < digits.size(); position += 2) {
    const std::u16string pair = digits.substr(position, 2);
    if (pair[0] >= u'1' && pair[0] <= u'8') {
      AppendSingleByteCharacter(code_page, HexValue(pair), out);
    } else {
      out += u'=';
      out += pair;
    }
  }
}

// These three would otherwise pass and keep the text from decoding back.
std::u16string_view EscapeOfItsOwn(char16_t c) {
  if (c == u'=') return u"=3D";
  if (c == u'\r') return u"=0D";
  if (c == u'\n') return u"=0A";
  return {};
}

// In a code page that keeps ASCII, the lanes of characters that do not pass
// as they are: those that are not ASCII, NUL (whose byte would not pass either)
// and the three escaped anyway.
character_scan::LaneMask FailsAsAscii(character_scan::Lanes c) {
  using character_scan::Splat;
  return (c >= Splat(0x80)) | (c == Splat(0)) | (c == Splat(u'=')) | (c == Splat(u'\r')) |
         (c == Splat(u'\n'));
}

}  // namespace

std::u16string EncodeQuotedPrintable(CodePage& code_page, const std::u16string& text) {
  std::u16string encoded;
  QuotedPrintableEncoder(code_page).Append(text, encoded);
  return encoded;
}

void QuotedPrintableEncoder::Append(std::u16string_view text, std::u16string& out) {
  for (size_t position = 0; position < text.size();) {
    if (keeps_ascii_) {
      // A run of characters that pass goes in at once.
      const size_t end = EndOfRun(text, position, FailsAsAscii);
      out.append(text.substr(position, end - position));
      position = end;
      if (position == text.size()) break;
    }
    if (const std::u16string_view escape = EscapeOfItsOwn(text[position]); !escape.empty()) {
      out += escape;
      ++position;
    } else {
      const std::u16string_view character = CharacterAt(text, position);
      AppendCharacter(character, out);
      position += character.size();
    }
  }
}

void QuotedPrintableEncoder::AppendCharacter(std::u16string_view character, std::u16string& out) {
  const std::string bytes = code_page_.FromUtf16(std::u16string(character));
  // Characters of three or four bytes (UTF-8, GB18030) are escaped byte by
  // byte, so that every reader takes the same bytes back.
  if (bytes.size() > 2) return AppendEscapedBytes(bytes, out);
  const auto value = CodePageValue(bytes);
  if (!value || (*value > 0 && *value < 255)) {
    out += character;
  } else if (*value == 0) {
    // NUL has the single digit "0", which would make a broken escape.
    AppendEscapedBytes(bytes, out);
  } else {
    AppendEncodedValue(code_page_, *value, out);
  }
}

}  // namespace orvane
