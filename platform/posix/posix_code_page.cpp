#include "platform/posix/posix_code_page.h"

#include "platform/posix/locale_name.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {

uint32_t CodePageForLocale(std::string_view locale_name) {
  const LocaleName locale = ParseLocaleName(locale_name);
  const std::string& language = locale.language;
  if (language == "zh") return IsTraditionalChineseTerritory(locale.territory) ? 950 : 936;
  if (language == "ja") return 932;
  if (language == "ko") return 949;
  if (language == "ru" || language == "uk" || language == "bg") return 1251;
  return 1252;
}

uint32_t SystemCodePageNumber(const EnvironmentReader& environment) {
  return CodePageForLocale(FirstSetVariable(environment, {"LC_ALL", "LC_CTYPE", "LANG"}));
}

PosixCodePage::PosixCodePage(uint32_t number)
    : number_(number), charset_("CP" + std::to_string(number)) {
  // A code page iconv does not know fails here, not at the first text.
  IconvConverter check(charset_, Utf16NativeCharset());
}

uint32_t PosixCodePage::Number() { return number_; }

std::string PosixCodePage::FromUtf16(const std::u16string& text) {
  return EncodeUtf16(text, charset_, "?");
}

std::u16string PosixCodePage::ToUtf16(const std::string& bytes) {
  return DecodeToUtf16(bytes, charset_);
}

}  // namespace orvane::posix
