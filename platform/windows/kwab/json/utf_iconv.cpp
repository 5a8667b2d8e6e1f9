#include "platform/windows/kwab/json/utf_iconv.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

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

// One character read from the input: its code point and its length in bytes,
// or the iconv error that stops there.
struct Read {
  char32_t code = 0;
  std::size_t length = 0;
  int error = 0;
};

uint8_t ByteAt(const char* input, std::size_t index) { return static_cast<uint8_t>(input[index]); }

// The well-formed UTF-8 sequences: the lead byte decides the length and the
// range of the second byte, so that overlong forms, surrogates and code points
// above U+10FFFF are refused.
Read ReadUtf8(const char* input, std::size_t left) {
  const uint8_t lead = ByteAt(input, 0);
  if (lead < 0x80) return {lead, 1, 0};
  std::size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {0, 0, EILSEQ};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i == left) return {0, 0, EINVAL};
    const uint8_t byte = ByteAt(input, i);
    if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return {0, 0, EILSEQ};
    code = (code << 6) | (byte & 0x3Fu);
  }
  return {code, length, 0};
}

char16_t UnitAt(const char* input, std::size_t index) {
  return static_cast<char16_t>(ByteAt(input, index) | (ByteAt(input, index + 1) << 8));
}

Read ReadUtf16(const char* input, std::size_t left) {
  if (left < 2) return {0, 0, EINVAL};
  const char16_t unit = UnitAt(input, 0);
  if (unit >= 0xDC00 && unit <= 0xDFFF) return {0, 0, EILSEQ};
  if (unit < 0xD800 || unit > 0xDBFF) return {unit, 2, 0};
  if (left < 4) return {0, 0, EINVAL};
  const char16_t low = UnitAt(input, 2);
  if (low < 0xDC00 || low > 0xDFFF) return {0, 0, EILSEQ};
  return {0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00), 4, 0};
}

// Writes the character in the target form; false when it does not fit.
bool WriteUtf16(char32_t code, char*& output, std::size_t& left) {
  char16_t units[2];
  std::size_t count = 1;
  if (code < 0x10000) {
    units[0] = static_cast<char16_t>(code);
  } else {
    units[0] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    count = 2;
  }
  if (left < count * 2) return false;
  for (std::size_t i = 0; i < count; ++i) {
    *output++ = static_cast<char>(units[i] & 0xFF);
    *output++ = static_cast<char>(units[i] >> 8);
  }
  left -= count * 2;
  return true;
}

bool WriteUtf8(char32_t code, char*& output, std::size_t& left) {
  const std::size_t count = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  if (left < count) return false;
  static constexpr uint8_t kLeadMarks[] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};
  for (std::size_t i = count; i-- > 1;) {
    output[i] = static_cast<char>(0x80 | (code & 0x3F));
    code >>= 6;
  }
  output[0] = static_cast<char>(kLeadMarks[count] | code);
  output += count;
  left -= count;
  return true;
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
    const Read read =
        converter->from_utf8 ? ReadUtf8(*input, *input_left) : ReadUtf16(*input, *input_left);
    if (read.error != 0) {
      errno = read.error;
      return kFailed;
    }
    const bool written = converter->from_utf8 ? WriteUtf16(read.code, *output, *output_left)
                                              : WriteUtf8(read.code, *output, *output_left);
    if (!written) {
      errno = E2BIG;
      return kFailed;
    }
    *input += read.length;
    *input_left -= read.length;
  }
  return 0;
}

int orvane_utf_iconv_close(orvane_utf_iconv_t) { return 0; }
