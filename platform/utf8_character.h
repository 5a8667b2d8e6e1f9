#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane {

// One character of UTF-8 text.
struct Utf8Character {
  uint32_t code = 0;
  size_t length = 0;  // in bytes; 0 when the bytes there start no character
};

// The character whose bytes start at `at`. Overlong forms, surrogates and code
// points beyond U+10FFFF are no characters, nor is one cut off at the end.
inline Utf8Character Utf8CharacterAt(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (length == 0 || at + length > text.size()) return {};
  uint32_t code = lead & (0x7Fu >> length);
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return {};
    code = code << 6 | (next & 0x3F);
  }
  const bool shortest = length == 2 || (length == 3 && code >= 0x800) ||
                        (length == 4 && code >= 0x10000 && code <= 0x10FFFF);
  if (!shortest || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, length};
}

}  // namespace orvane
