#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The system's ANSI code page: the bytes of every text file the component writes,
// and the texts that cross the address-book library.
class CodePage {
 public:
  virtual ~CodePage() = default;
  // The Windows code page number (1252, 950, 936...).
  virtual uint32_t Number() = 0;
  // A character the code page cannot hold becomes "?".
  virtual std::string FromUtf16(const std::u16string& text) = 0;
  virtual std::u16string ToUtf16(const std::string& bytes) = 0;
  // True when every ASCII character (U+0000 to U+007F) is the one byte of its
  // own value, both ways: ASCII text then needs no conversion at all, which
  // callers of many short conversions make use of. False when not known.
  virtual bool KeepsAscii() { return false; }
};

}  // namespace orvane
