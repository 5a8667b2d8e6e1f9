#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/posix/environment.h"

namespace orvane::posix {

// The ANSI code page a Windows machine set up for the locale's language and
// region would use, whatever codeset the locale itself has: 950 for Chinese of
// Taiwan, Hong Kong and Macao, 936 for other Chinese, 932 Japanese, 949 Korean,
// 1251 Russian, Ukrainian and Bulgarian, 1252 for everything else.
uint32_t CodePageForLocale(std::string_view locale_name);

// The code page for the locale of character types (LC_ALL, LC_CTYPE, LANG, the
// first that is set).
uint32_t SystemCodePageNumber(const EnvironmentReader& environment);

// Text in one Windows code page, converted through iconv ("CP950", ...).
class PosixCodePage final : public CodePage {
 public:
  explicit PosixCodePage(uint32_t number);

  uint32_t Number() override;
  // Each character the code page cannot hold becomes one "?".
  std::string FromUtf16(const std::u16string& text) override;
  // Bytes that form no character of the code page become U+FFFD.
  std::u16string ToUtf16(const std::string& bytes) override;

 private:
  uint32_t number_;
  std::string charset_;
};

}  // namespace orvane::posix
