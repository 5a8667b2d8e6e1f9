#pragma once

#include <cstdint>
#include <string_view>

#include "platform/posix/environment.h"
#include "platform/user_language.h"

namespace orvane::posix {

// The Windows language identifier for a POSIX locale name: Traditional Chinese
// for zh_TW, zh_HK and zh_MO, Simplified Chinese for every other Chinese
// locale, US English for the rest ("C", "POSIX" and "" included).
uint16_t LanguageIdForLocale(std::string_view locale_name);

// The user's interface language from the locale of messages (LC_ALL,
// LC_MESSAGES, LANG, the first that is set), read at each use.
class PosixUserLanguage final : public UserLanguage {
 public:
  explicit PosixUserLanguage(EnvironmentReader environment = ProcessEnvironment());
  uint16_t LanguageId() override;

 private:
  EnvironmentReader environment_;
};

}  // namespace orvane::posix
