#include "platform/posix/address_book/utf8_text.h"

#include <cerrno>
#include <stdexcept>

namespace orvane::posix {
namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

void AppendLittleEndian(const char* bytes, size_t size, std::u16string& output) {
  for (size_t i = 0; i + 1 < size; i += 2) {
    const auto low = static_cast<unsigned char>(bytes[i]);
    const auto high = static_cast<unsigned char>(bytes[i + 1]);
    output.push_back(static_cast<char16_t>(low | (high << 8)));
  }
}

}  // namespace

Utf8Decoder::Utf8Decoder() : descriptor_(iconv_open("UTF-16LE", "UTF-8")) {
  if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("the UTF-8 decoder is not available");
  }
}

Utf8Decoder::~Utf8Decoder() { iconv_close(descriptor_); }

std::u16string Utf8Decoder::Decode(std::string_view utf8) {
  std::u16string result;
  result.reserve(utf8.size());
  while (!DecodeValidPrefix(utf8, result)) {
    result.push_back(kReplacementCharacter);
    utf8.remove_prefix(1);
  }
  return result;
}

bool Utf8Decoder::DecodeValidPrefix(std::string_view& utf8, std::u16string& output) {
  char buffer[512];
  while (!utf8.empty()) {
    char* in = const_cast<char*>(utf8.data());
    size_t in_left = utf8.size();
    char* out = buffer;
    size_t out_left = sizeof buffer;
    const size_t done = iconv(descriptor_, &in, &in_left, &out, &out_left);
    const int failure = done == static_cast<size_t>(-1) ? errno : 0;
    AppendLittleEndian(buffer, static_cast<size_t>(out - buffer), output);
    utf8.remove_prefix(utf8.size() - in_left);
    if (failure == E2BIG) continue;
    if (failure != 0) {  // EILSEQ, or EINVAL for a sequence cut short at the end
      iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
  }
  return true;
}

std::u16string Utf16FromUtf8(std::string_view utf8) { return Utf8Decoder().Decode(utf8); }

}  // namespace orvane::posix
