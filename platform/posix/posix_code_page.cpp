#include "platform/posix/posix_code_page.h"

#include <array>
#include <optional>

#include "platform/posix/locale_name.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

constexpr uint32_t kUtf8 = 65001;

struct CodesetPage {
  std::string_view codeset;  // as LocaleName writes it
  uint32_t page;
};

// Windows knows these character sets by these numbers too.
constexpr std::array<CodesetPage, 17> kCodesetPages = {{
    {"UTF8", 65001},      {"BIG5", 950},        {"BIG5HKSCS", 950},   {"GBK", 936},
    {"GB2312", 936},      {"GB18030", 54936},   {"ISO88591", 28591},  {"ISO88592", 28592},
    {"ISO88593", 28593},  {"ISO88594", 28594},  {"ISO88595", 28595},  {"ISO88596", 28596},
    {"ISO88597", 28597},  {"ISO88598", 28598},  {"ISO88599", 28599},  {"ISO885913", 28603},
    {"ISO885915", 28605},
}};

std::optional<uint32_t> CodePageOfCodeset(std::string_view codeset) {
  for (const CodesetPage& entry : kCodesetPages) {
    if (entry.codeset == codeset) return entry.page;
  }
  return std::nullopt;
}

// The name iconv knows the code page by.
std::string IconvCharsetOf(uint32_t number) {
  if (number == kUtf8) return "UTF-8";
  if (number == 54936) return "GB18030";
  if (number >= 28591 && number <= 28599) return "ISO-8859-" + std::to_string(number - 28590);
  if (number == 28603) return "ISO-8859-13";
  if (number == 28605) return "ISO-8859-15";
  return "CP" + std::to_string(number);
}

// Whether the character set holds ASCII as ASCII, both ways: then ASCII text
// needs no conversion at all.
bool AsciiStaysAscii(const std::string& charset) {
  std::u16string ascii(0x80, u'\0');
  for (char16_t c = 0; c < 0x80; ++c) ascii[c] = c;
  const std::string bytes = NarrowAscii(ascii);
  return EncodeUtf16(ascii, charset, "?") == bytes && DecodeToUtf16(bytes, charset) == ascii;
}

// The code pages here of one byte a character.
bool IsSingleByte(uint32_t number) {
  return number == 1251 || number == 1252 || (number >= 28591 && number <= 28605);
}

}  // namespace

uint32_t CodePageForLanguage(std::string_view locale_name) {
  const LocaleName locale = ParseLocaleName(locale_name);
  const std::string& language = locale.language;
  if (language == "zh") return IsTraditionalChineseTerritory(locale.territory) ? 950 : 936;
  if (language == "ja") return 932;
  if (language == "ko") return 949;
  if (language == "ru" || language == "uk" || language == "bg") return 1251;
  return 1252;
}

uint32_t CodePageForLocale(std::string_view ctype_locale, std::string_view messages_locale) {
  const LocaleName locale = ParseLocaleName(ctype_locale);
  if (const auto page = CodePageOfCodeset(locale.codeset)) return *page;
  // A locale of no language leaves the choice to the language the user reads.
  if (!locale.NamesLanguage()) return CodePageForLanguage(messages_locale);
  return CodePageForLanguage(ctype_locale);
}

uint32_t SystemCodePageNumber(const EnvironmentReader& environment) {
  return CodePageForLocale(FirstSetVariable(environment, {"LC_ALL", "LC_CTYPE", "LANG"}),
                           FirstSetVariable(environment, {"LC_ALL", "LC_MESSAGES", "LANG"}));
}

// A code page iconv does not know fails here, not at the first text.
PosixCodePage::PosixCodePage(uint32_t number)
    : number_(number), charset_(IconvCharsetOf(number)), keeps_ascii_(AsciiStaysAscii(charset_)) {
  if (!keeps_ascii_ || !IsSingleByte(number)) return;
  SingleBytes table;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const std::u16string character = DecodeToUtf16(one, charset_);
    table.from_byte[static_cast<size_t>(byte - 0x80)] = character.at(0);
    // Only a character whose way back is the same byte: iconv decides the rest.
    if (character != u"\uFFFD" && EncodeUtf16(character, charset_, "?") == one) {
      table.to_byte.emplace(character[0], one[0]);
    }
  }
  single_bytes_ = std::move(table);
}

uint32_t PosixCodePage::Number() { return number_; }

// Each character converts on its own, so the ASCII runs of a text (most of a
// card) pass as they are and iconv sees only what lies between them. Bytes do
// not allow the same the other way: a double-byte character's second byte may
// look like ASCII.
std::string PosixCodePage::FromUtf16(const std::u16string& text) {
  if (!keeps_ascii_) return EncodeUtf16(text, charset_, "?");
  std::string bytes;
  bytes.reserve(text.size());
  const std::u16string_view rest(text);
  for (size_t start = 0; start < rest.size();) {
    size_t end = start;
    while (end < rest.size() && rest[end] < 0x80) ++end;
    AppendAscii(rest.substr(start, end - start), bytes);
    start = end;
    while (end < rest.size() && rest[end] >= 0x80) ++end;
    if (end > start) AppendEncoded(rest.substr(start, end - start), bytes);
    start = end;
  }
  return bytes;
}

// Characters beyond ASCII: from the table when it has them, else through iconv.
void PosixCodePage::AppendEncoded(std::u16string_view text, std::string& bytes) {
  if (number_ == kUtf8 && AppendValidUtf16AsUtf8(text, bytes)) return;
  if (!single_bytes_) {
    bytes += EncodeUtf16(text, charset_, "?");
    return;
  }
  // What the table lacks goes to iconv in runs, so that a surrogate pair stays whole.
  size_t unwritten = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto known = single_bytes_->to_byte.find(text[i]);
    if (known == single_bytes_->to_byte.end()) continue;
    if (i > unwritten) bytes += EncodeUtf16(text.substr(unwritten, i - unwritten), charset_, "?");
    bytes += known->second;
    unwritten = i + 1;
  }
  if (unwritten < text.size()) bytes += EncodeUtf16(text.substr(unwritten), charset_, "?");
}

std::u16string PosixCodePage::ToUtf16(const std::string& bytes) {
  if (std::u16string text; keeps_ascii_ && AppendIfAscii(bytes, text)) return text;
  if (number_ == kUtf8) return DecodeUtf8(bytes);
  if (!single_bytes_) return DecodeToUtf16(bytes, charset_);
  std::u16string text(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text[i] = byte < 0x80 ? byte : single_bytes_->from_byte[byte - 0x80];
  }
  return text;
}

}  // namespace orvane::posix
