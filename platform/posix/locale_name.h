#pragma once

#include <string>
#include <string_view>

namespace orvane::posix {

// The parts of a POSIX locale name such as "zh_TW.Big5@modifier": language in
// lower case ("zh"), territory in upper case ("TW"), codeset in upper case
// without "-" or "_" ("BIG5", "UTF8", "ISO88591"); the modifier is dropped.
// "C", "POSIX" and "" give language "c", "posix" and "".
struct LocaleName {
  std::string language;
  std::string territory;
  std::string codeset;

  // C, POSIX and the empty name name no language.
  bool NamesLanguage() const {
    return !language.empty() && language != "c" && language != "posix";
  }
};

LocaleName ParseLocaleName(std::string_view name);

// Territories whose Chinese is written in traditional characters (TW, HK, MO).
bool IsTraditionalChineseTerritory(std::string_view territory);

}  // namespace orvane::posix
