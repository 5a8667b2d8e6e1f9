#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace orvane::posix {

// Turns UTF-8 bytes into UTF-16. A byte that does not start a valid UTF-8
// sequence becomes U+FFFD, so a file path in another encoding still reads in a
// message. Keep one decoder for many texts: opening one has a cost.
class Utf8Decoder {
 public:
  Utf8Decoder();
  ~Utf8Decoder();
  Utf8Decoder(const Utf8Decoder&) = delete;
  Utf8Decoder& operator=(const Utf8Decoder&) = delete;

  std::u16string Decode(std::string_view utf8);

 private:
  // Converts until the input ends or a byte is not valid UTF-8 (then false).
  bool DecodeValidPrefix(std::string_view& utf8, std::u16string& output);

  iconv_t descriptor_;
};

std::u16string Utf16FromUtf8(std::string_view utf8);

}  // namespace orvane::posix
