#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// Digits, letters and punctuation formatted with printf, as UTF-16 text.
inline std::u16string AsciiToUtf16(const char* ascii) {
  std::u16string text;
  for (; *ascii != '\0'; ++ascii) text += static_cast<char16_t>(*ascii);
  return text;
}

// A number in decimal: a leading "-" when negative, no leading zeros.
inline std::u16string DecimalText(int64_t number) {
  return AsciiToUtf16(std::to_string(number).c_str());
}

}  // namespace orvane
