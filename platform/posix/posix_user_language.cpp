#include "platform/posix/posix_user_language.h"

#include <utility>

#include "platform/posix/locale_name.h"

namespace orvane::posix {

uint16_t LanguageIdForLocale(std::string_view locale_name) {
  const LocaleName locale = ParseLocaleName(locale_name);
  if (locale.language != "zh") return kLanguageEnglishUs;
  return IsTraditionalChineseTerritory(locale.territory) ? kLanguageChineseTraditional
                                                         : kLanguageChineseSimplified;
}

PosixUserLanguage::PosixUserLanguage(EnvironmentReader environment)
    : environment_(std::move(environment)) {}

uint16_t PosixUserLanguage::LanguageId() {
  return LanguageIdForLocale(FirstSetVariable(environment_, {"LC_ALL", "LC_MESSAGES", "LANG"}));
}

}  // namespace orvane::posix
