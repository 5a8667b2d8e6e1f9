#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ascii_text.h"

namespace orvane::posix {

// The iconv name of UTF-16 in this machine's byte order (no byte-order mark), so
// char16_t text can be handed to iconv as it lies in memory.
const char* Utf16NativeCharset();

// How many input bytes the character at the start of `rest` takes; `rest` is never empty.
using CharacterLength = std::size_t (*)(std::string_view rest);
std::size_t Utf16CharacterLength(std::string_view rest);  // 2, or 4 for a surrogate pair
std::size_t SingleByteLength(std::string_view rest);      // always 1

// One open iconv conversion between two character sets, closed with the object.
class IconvConverter {
 public:
  // Throws orvane::Error 5 when iconv knows no conversion between the two sets.
  IconvConverter(const std::string& to_charset, const std::string& from_charset);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;
  IconvConverter(IconvConverter&& other) noexcept;
  IconvConverter& operator=(IconvConverter&& other) noexcept;

  // Converts the whole of `input`. A character that the target cannot hold, or
  // that the source does not define, is replaced by `replacement` (already in the
  // target set) and skipped by `length`; everything else is kept, so this never fails.
  std::string Convert(std::string_view input, CharacterLength length,
                      std::string_view replacement);

 private:
  void AppendConverted(std::string& out, const char*& in, std::size_t& in_left, int& error);

  iconv_t handle_;
};

// The converter from `from_charset` to `to_charset` that this thread keeps:
// opening one costs far more than converting a short text, and an iconv
// conversion must not be shared between threads.
IconvConverter& ThreadConverter(const std::string& to_charset, const std::string& from_charset);

// ASCII UTF-16 text as bytes (platform/ascii_text.h tells ASCII).
std::string NarrowAscii(std::u16string_view text);

// UTF-16 to another character set; each character it cannot hold (a surrogate
// pair is one character) becomes `replacement` once.
std::string EncodeUtf16(std::u16string_view text, const std::string& charset,
                        std::string_view replacement);

// Bytes of one character set to UTF-16; bytes that form no character become
// U+FFFD, and a character cut off at the end of the input becomes one U+FFFD.
std::u16string DecodeToUtf16(std::string_view bytes, const std::string& charset);

// Valid UTF-8 and UTF-16 converted without iconv, appended to `out`: false,
// with `out` as it was, at the first sequence that is no character, which the
// caller then leaves to iconv.
bool AppendValidUtf8(std::string_view bytes, std::u16string& out);
bool AppendValidUtf16AsUtf8(std::u16string_view text, std::string& out);

// UTF-16 <-> UTF-8, for paths and the terminal. Broken sequences become U+FFFD.
std::string EncodeUtf8(std::u16string_view text);
std::u16string DecodeUtf8(std::string_view bytes);

}  // namespace orvane::posix
