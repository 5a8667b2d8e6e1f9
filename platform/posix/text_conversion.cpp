#include "platform/posix/text_conversion.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <deque>
#include <utility>

#include "platform/error.h"
#include "platform/utf_character.h"

namespace orvane::posix {
namespace {

const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kChunkSize = 4096;

char16_t UnitAt(std::string_view bytes, std::size_t offset) {
  char16_t unit;
  std::memcpy(&unit, bytes.data() + offset, sizeof unit);
  return unit;
}

std::string_view BytesOf(std::u16string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

std::u16string Utf16FromBytes(const std::string& bytes) {
  std::u16string text(bytes.size() / sizeof(char16_t), u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(char16_t));
  return text;
}

// Appends `text` read character by character and written in the other form;
// false, and `out` as it was, at the first place that starts no character.
template <typename From, typename To, size_t kMost>
bool AppendValidRewritten(std::basic_string_view<From> text, std::basic_string<To>& out,
                          UtfCharacter (*read)(std::basic_string_view<From>, size_t),
                          size_t (*write)(uint32_t, To (&)[kMost])) {
  const size_t start = out.size();
  for (size_t i = 0; i < text.size();) {
    const UtfCharacter character = read(text, i);
    if (character.length == 0) {
      out.resize(start);
      return false;
    }
    To written[kMost];
    out.append(written, write(character.code, written));
    i += character.length;
  }
  return true;
}

}  // namespace

const char* Utf16NativeCharset() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

std::size_t Utf16CharacterLength(std::string_view rest) {
  if (rest.size() < 2) return rest.size();
  if (rest.size() >= 4 && IsHighSurrogate(UnitAt(rest, 0)) && IsLowSurrogate(UnitAt(rest, 2))) {
    return 4;
  }
  return 2;
}

std::size_t SingleByteLength(std::string_view) { return 1; }

IconvConverter::IconvConverter(const std::string& to_charset, const std::string& from_charset)
    : handle_(iconv_open(to_charset.c_str(), from_charset.c_str())) {
  if (handle_ == kClosed) throw Error(errors::kInvalidProcedureCall);
}

IconvConverter::~IconvConverter() {
  if (handle_ != kClosed) iconv_close(handle_);
}

IconvConverter::IconvConverter(IconvConverter&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)) {}

IconvConverter& IconvConverter::operator=(IconvConverter&& other) noexcept {
  if (this != &other) {
    if (handle_ != kClosed) iconv_close(handle_);
    handle_ = std::exchange(other.handle_, kClosed);
  }
  return *this;
}

// Runs iconv until the input is used up or it stops at a character it cannot
// convert (`error` then holds EILSEQ or EINVAL); output space grows as needed.
void IconvConverter::AppendConverted(std::string& out, const char*& in, std::size_t& in_left,
                                     int& error) {
  error = 0;
  for (;;) {
    char buffer[kChunkSize];
    char* cursor = buffer;
    std::size_t out_left = sizeof buffer;
    // iconv's prototype takes char** for historical reasons; it does not write the input.
    char** in_cursor = in == nullptr ? nullptr : const_cast<char**>(&in);
    const std::size_t result = iconv(handle_, in_cursor, &in_left, &cursor, &out_left);
    const int reason = result == static_cast<std::size_t>(-1) ? errno : 0;
    out.append(buffer, static_cast<std::size_t>(cursor - buffer));
    if (reason == E2BIG) continue;
    error = reason;
    return;
  }
}

std::string IconvConverter::Convert(std::string_view input, CharacterLength length,
                                    std::string_view replacement) {
  iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // start from the initial shift state
  std::string out;
  out.reserve(input.size());
  const char* in = input.data();
  std::size_t in_left = input.size();
  while (in_left > 0) {
    int error = 0;
    AppendConverted(out, in, in_left, error);
    if (error == 0 || in_left == 0) break;
    out.append(replacement);
    // A character cut off at the end of the input is replaced once, as a whole.
    const std::size_t skipped =
        error == EINVAL ? in_left : std::min(in_left, length({in, in_left}));
    in += skipped;
    in_left -= skipped;
  }
  const char* no_input = nullptr;
  std::size_t none = 0;
  int error = 0;
  AppendConverted(out, no_input, none, error);  // close any shift sequence
  return out;
}

IconvConverter& ThreadConverter(const std::string& to_charset, const std::string& from_charset) {
  struct Cached {
    std::string to;
    std::string from;
    IconvConverter converter;
  };
  // A deque keeps the converters in place as it grows; a thread meets only a few sets.
  thread_local std::deque<Cached> converters;
  for (Cached& cached : converters) {
    if (cached.to == to_charset && cached.from == from_charset) return cached.converter;
  }
  IconvConverter converter(to_charset, from_charset);
  return converters.emplace_back(Cached{to_charset, from_charset, std::move(converter)}).converter;
}

std::string NarrowAscii(std::u16string_view text) {
  std::string bytes;
  AppendAscii(text, bytes);
  return bytes;
}

std::string EncodeUtf16(std::u16string_view text, const std::string& charset,
                        std::string_view replacement) {
  return ThreadConverter(charset, Utf16NativeCharset())
      .Convert(BytesOf(text), Utf16CharacterLength, replacement);
}

std::u16string DecodeToUtf16(std::string_view bytes, const std::string& charset) {
  static constexpr char16_t kReplacementCharacter[] = u"\uFFFD";
  return Utf16FromBytes(ThreadConverter(Utf16NativeCharset(), charset)
                            .Convert(bytes, SingleByteLength, BytesOf(kReplacementCharacter)));
}

bool AppendValidUtf8(std::string_view bytes, std::u16string& out) {
  return AppendValidRewritten(bytes, out, Utf8CharacterAt, WriteUtf16);
}

bool AppendValidUtf16AsUtf8(std::u16string_view text, std::string& out) {
  return AppendValidRewritten(text, out, Utf16CharacterAt, WriteUtf8);
}

std::string EncodeUtf8(std::u16string_view text) {
  if (IsAscii(text)) return NarrowAscii(text);
  std::string bytes;
  if (AppendValidUtf16AsUtf8(text, bytes)) return bytes;
  return EncodeUtf16(text, "UTF-8", "\xEF\xBF\xBD");
}

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string text;
  if (AppendIfAscii(bytes, text) || AppendValidUtf8(bytes, text)) return text;
  return DecodeToUtf16(bytes, "UTF-8");
}

}  // namespace orvane::posix
