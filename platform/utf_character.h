#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane {

// One character read from UTF-8 or UTF-16 text.
struct UtfCharacter {
  uint32_t code = 0;
  size_t length = 0;  // in bytes or in units; 0 when no character starts there
  // With length 0: the text ends inside a character that was sound so far, so
  // more text might complete it (iconv's EINVAL, where a wrong byte is EILSEQ).
  bool cut_off = false;
};

inline bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character whose bytes start at `at` (before the end). Overlong forms,
// surrogates and code points beyond U+10FFFF are no characters. The lead byte
// bounds the second byte, so that a sequence is refused at its first byte that
// no character can have there, and is cut off only when none such comes first.
inline UtfCharacter Utf8CharacterAt(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  unsigned low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // below: overlong
    if (lead == 0xED) high = 0x9F;  // above: surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // below: overlong
    if (lead == 0xF4) high = 0x8F;  // above: beyond U+10FFFF
  } else {
    return {};
  }
  uint32_t code = lead & (0x7Fu >> length);
  for (size_t k = 1; k < length; ++k) {
    if (at + k == text.size()) return {0, 0, true};
    const auto next = static_cast<unsigned char>(text[at + k]);
    if (next < (k == 1 ? low : 0x80u) || next > (k == 1 ? high : 0xBFu)) return {};
    code = code << 6 | (next & 0x3Fu);
  }
  return {code, length};
}

// The character whose units start at `at` (before the end): a unit outside the
// surrogates, or a high surrogate and a low one. A high surrogate at the end is
// cut off; any other lone surrogate is no character.
inline UtfCharacter Utf16CharacterAt(std::u16string_view text, size_t at) {
  const char16_t unit = text[at];
  if (!IsHighSurrogate(unit)) return IsLowSurrogate(unit) ? UtfCharacter{} : UtfCharacter{unit, 1};
  if (at + 1 == text.size()) return {0, 0, true};
  const char16_t next = text[at + 1];
  if (!IsLowSurrogate(next)) return {};
  return {0x10000 + ((uint32_t{unit} - 0xD800) << 10) + (next - 0xDC00u), 2};
}

// Writes a code point (no surrogate, none beyond U+10FFFF) as UTF-8; returns
// how many bytes it took.
inline size_t WriteUtf8(uint32_t code, char (&bytes)[4]) {
  const size_t length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  static constexpr unsigned char kLeadMarks[] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};
  for (size_t k = length; k-- > 1;) {
    bytes[k] = static_cast<char>(0x80 | (code & 0x3F));
    code >>= 6;
  }
  bytes[0] = static_cast<char>(kLeadMarks[length] | code);
  return length;
}

// Writes a code point (no surrogate, none beyond U+10FFFF) as UTF-16; returns
// how many units it took.
inline size_t WriteUtf16(uint32_t code, char16_t (&units)[2]) {
  if (code < 0x10000) {
    units[0] = static_cast<char16_t>(code);
    return 1;
  }
  units[0] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
  units[1] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
  return 2;
}

}  // namespace orvane
