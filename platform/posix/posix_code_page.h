#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/posix/environment.h"

namespace orvane::posix {

// The ANSI code page a Windows machine set up for the locale's language and
// region would use: 950 for Chinese of Taiwan, Hong Kong and Macao, 936 for
// other Chinese, 932 Japanese, 949 Korean, 1251 Russian, Ukrainian and
// Bulgarian, 1252 for everything else.
uint32_t CodePageForLanguage(std::string_view locale_name);

// The code page of the character-type locale's character set, as Windows numbers
// it (UTF-8 65001, Big5 950, GBK and GB2312 936, GB18030 54936, ISO-8859-n
// 2859n, -13 28603, -15 28605), so that no character the user's terminal and
// files hold is lost. A locale without a known character set falls back to its
// language; C and POSIX name none, so the messages locale's language decides.
uint32_t CodePageForLocale(std::string_view ctype_locale, std::string_view messages_locale);

// The code page for the locale of character types (LC_ALL, LC_CTYPE, LANG, the
// first that is set) and of messages (LC_ALL, LC_MESSAGES, LANG).
uint32_t SystemCodePageNumber(const EnvironmentReader& environment);

// Text in one Windows code page, converted through iconv ("CP950", "UTF-8", ...).
class PosixCodePage final : public CodePage {
 public:
  explicit PosixCodePage(uint32_t number);

  uint32_t Number() override;
  // Each character the code page cannot hold becomes one "?".
  std::string FromUtf16(const std::u16string& text) override;
  // Bytes that form no character of the code page become U+FFFD.
  std::u16string ToUtf16(const std::string& bytes) override;
  // Checked when the code page is made: true for every code page here but UTF-16's.
  bool KeepsAscii() override { return keeps_ascii_; }

 private:
  // The characters of a code page of one byte a character, both ways, as iconv
  // has them, so that a text's characters beyond ASCII need no iconv either.
  struct SingleBytes {
    std::array<char16_t, 128> from_byte;  // bytes 0x80 to 0xFF; U+FFFD for none
    std::unordered_map<char16_t, char> to_byte;
  };

  void AppendEncoded(std::u16string_view text, std::string& bytes);

  uint32_t number_;
  std::string charset_;
  bool keeps_ascii_;
  std::optional<SingleBytes> single_bytes_;
};

}  // namespace orvane::posix
