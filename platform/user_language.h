#pragma once

#include <cstdint>

namespace orvane {

// Language identifiers as Windows numbers them.
inline constexpr uint16_t kLanguageEnglishUs = 1033;
inline constexpr uint16_t kLanguageChineseTraditional = 1028;
inline constexpr uint16_t kLanguageChineseSimplified = 2052;

// The user's interface language.
class UserLanguage {
 public:
  virtual ~UserLanguage() = default;
  virtual uint16_t LanguageId() = 0;
};

}  // namespace orvane
