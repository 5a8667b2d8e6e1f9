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
};

}  // namespace orvane
