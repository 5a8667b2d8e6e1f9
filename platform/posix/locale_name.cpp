#include "platform/posix/locale_name.h"

#include <cctype>
#include <string>

namespace orvane::posix {
namespace {

std::string WithCase(std::string_view text, int (*change)(int)) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) result.push_back(static_cast<char>(change(static_cast<unsigned char>(c))));
  return result;
}

// "utf-8", "UTF8" and "utf_8" all name one codeset.
std::string NormalisedCodeset(std::string_view codeset) {
  std::string result = WithCase(codeset, std::toupper);
  std::erase_if(result, [](char c) { return c == '-' || c == '_'; });
  return result;
}

}  // namespace

LocaleName ParseLocaleName(std::string_view name) {
  const std::string_view without_modifier = name.substr(0, name.find('@'));
  const std::size_t dot = without_modifier.find('.');
  const std::string_view base = without_modifier.substr(0, dot);
  const std::size_t underscore = base.find('_');
  LocaleName parts;
  parts.language = WithCase(base.substr(0, underscore), std::tolower);
  if (underscore != std::string_view::npos) {
    parts.territory = WithCase(base.substr(underscore + 1), std::toupper);
  }
  if (dot != std::string_view::npos) parts.codeset = NormalisedCodeset(without_modifier.substr(dot + 1));
  return parts;
}

bool IsTraditionalChineseTerritory(std::string_view territory) {
  return territory == "TW" || territory == "HK" || territory == "MO";
}

}  // namespace orvane::posix
