#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane::fuzzing {

// Takes values off the front of a fuzz input; past its end every value is 0.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return position_ >= size_; }
  uint8_t Byte() { return empty() ? 0 : data_[position_++]; }
  uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  uint32_t Long() { return Word() | (uint32_t{Word()} << 16); }
  // Up to `most` bytes, as many as remain.
  std::string Bytes(size_t most) {
    std::string bytes;
    while (!empty() && bytes.size() < most) bytes += static_cast<char>(Byte());
    return bytes;
  }
  // The rest, read as UTF-16 code units (lone surrogates included).
  std::u16string RestAsUtf16() {
    std::u16string text;
    while (position_ + 1 < size_) text += static_cast<char16_t>(Word());
    position_ = size_;
    return text;
  }
  // The code page chosen by one byte, among those whose bytes differ most.
  uint32_t CodePage() {
    constexpr uint32_t kPages[] = {1252, 950, 936, 65001, 54936, 28597};
    return kPages[Byte() % std::size(kPages)];
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace orvane::fuzzing
