#include "platform/windows/kwab/json/utf_iconv.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/utf_character.h"

struct orvane_utf_converter {
  bool from_utf8;
};

namespace {

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

orvane_utf_converter kFromUtf8{true};
orvane_utf_converter kToUtf8{false};

bool IsNamed(const char* name, std::string_view wanted) {
  if (name == nullptr || std::strlen(name) != wanted.size()) return false;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != wanted[i]) return false;
  }
  return true;
}

uint8_t ByteAt(const char* input, std::size_t index) { return static_cast<uint8_t>(input[index]); }

// The next character of UTF-16LE input, its length in bytes.
orvane::UtfCharacter ReadUtf16(const char* input, std::size_t left) {
  char16_t units[2];
  const std::size_t count = std::min<std::size_t>(left / 2, 2);
  if (count == 0) return {0, 0, true};
  for (std::size_t i = 0; i < count; ++i) {
    units[i] = static_cast<char16_t>(ByteAt(input, 2 * i) | (ByteAt(input, 2 * i + 1) << 8));
  }
  orvane::UtfCharacter character = orvane::Utf16CharacterAt({units, count}, 0);
  character.length *= 2;
  return character;
}

// The character in the target form, in `bytes`; returns how many bytes it took.
std::size_t WriteUtf16Le(uint32_t code, char (&bytes)[4]) {
  char16_t units[2];
  const std::size_t count = orvane::WriteUtf16(code, units);
  for (std::size_t i = 0; i < count; ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return count * 2;
}

}  // namespace

orvane_utf_iconv_t orvane_utf_iconv_open(const char* to_charset, const char* from_charset) {
  if (IsNamed(to_charset, "UTF-16LE") && IsNamed(from_charset, "UTF-8")) return &kFromUtf8;
  if (IsNamed(to_charset, "UTF-8") && IsNamed(from_charset, "UTF-16LE")) return &kToUtf8;
  errno = EINVAL;
  return reinterpret_cast<orvane_utf_iconv_t>(kFailed);
}

std::size_t orvane_utf_iconv(orvane_utf_iconv_t converter, char** input, std::size_t* input_left,
                             char** output, std::size_t* output_left) {
  // Neither direction keeps a shift state, so a call without input has nothing to do.
  if (input == nullptr || *input == nullptr) return 0;
  while (*input_left > 0) {
    const orvane::UtfCharacter read = converter->from_utf8
                                          ? orvane::Utf8CharacterAt({*input, *input_left}, 0)
                                          : ReadUtf16(*input, *input_left);
    if (read.length == 0) {
      errno = read.cut_off ? EINVAL : EILSEQ;
      return kFailed;
    }
    char bytes[4];
    const std::size_t count = converter->from_utf8 ? WriteUtf16Le(read.code, bytes)
                                                   : orvane::WriteUtf8(read.code, bytes);
    if (*output_left < count) {
      errno = E2BIG;
      return kFailed;
    }
    std::memcpy(*output, bytes, count);
    *output += count;
    *output_left -= count;
    *input += read.length;
    *input_left -= read.length;
  }
  return 0;
}

int orvane_utf_iconv_close(orvane_utf_iconv_t) { return 0; }
