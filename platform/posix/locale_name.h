#pragma once

#include <string>
#include <string_view>

namespace orvane::posix {

// The language and territory of a POSIX locale name such as "zh_TW.Big5@modifier":
// language in lower case ("zh"), territory in upper case ("TW"); the codeset and
// modifier are dropped. "C", "POSIX" and "" give language "c", "posix" and "".
struct LocaleName {
  std::string language;
  std::string territory;
};

LocaleName ParseLocaleName(std::string_view name);

// Territories whose Chinese is written in traditional characters (TW, HK, MO).
bool IsTraditionalChineseTerritory(std::string_view territory);

}  // namespace orvane::posix
