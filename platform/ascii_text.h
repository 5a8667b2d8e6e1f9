#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/character_scan.h"

namespace orvane {

// ASCII text (U+0000 to U+007F) is the same in UTF-8, UTF-16 and every code page
// that keeps ASCII, so it crosses between them without a conversion.

// No early way out, so that the compiler can test many characters at once.
inline bool IsAscii(std::string_view bytes) {
  unsigned char any = 0;
  for (const char c : bytes) any = static_cast<unsigned char>(any | static_cast<unsigned char>(c));
  return any < 0x80;
}

inline bool IsAscii(std::u16string_view text) {
  char16_t any = 0;
  for (const char16_t c : text) any = static_cast<char16_t>(any | c);
  return any < 0x80;
}

// ASCII UTF-16 text appended as bytes.
inline void AppendAscii(std::u16string_view text, std::string& out) {
  const size_t start = out.size();
  out.resize(start + text.size());
  char* to = out.data() + start;
  for (size_t i = 0; i < text.size(); ++i) to[i] = static_cast<char>(text[i]);
}

// The bytes appended widened when every one is ASCII; otherwise false, with
// `out` as it was. One pass, eight bytes at a time: the test and the widening
// share the loop.
inline bool AppendIfAscii(std::string_view bytes, std::u16string& out) {
  using namespace character_scan;
  const size_t start = out.size();
  out.resize(start + bytes.size());
  char16_t* to = out.data() + start;
  uint64_t any = 0;  // the bytes of a word folded together
  static_assert(kLanes == sizeof any);
  size_t i = 0;
  const auto widen = [&](size_t at) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    any |= word;
    const Lanes wide = WidenedBytes(bytes.data() + at);
    std::memcpy(to + at, &wide, sizeof wide);
  };
  if (bytes.size() >= kLanes) {
    for (; i + kLanes <= bytes.size(); i += kLanes) widen(i);
    // The last eight again, overlapping those before: no byte is left to a slow loop.
    widen(bytes.size() - kLanes);
  } else {
    for (; i < bytes.size(); ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      any |= byte;
      to[i] = byte;
    }
  }
  if ((any & 0x8080'8080'8080'8080) == 0) return true;
  out.resize(start);
  return false;
}

}  // namespace orvane
