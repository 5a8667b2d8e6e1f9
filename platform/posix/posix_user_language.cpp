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

PosixUserLanguage::PosixUserLanguage(LocaleSettings settings)
    : settings_(std::move(settings)) {}

uint16_t PosixUserLanguage::LanguageId() {
  return LanguageIdForLocale(FirstLocaleSetting(settings_, {"LC_ALL", "LC_MESSAGES", "LANG"}));
}

}  // namespace orvane::posix
