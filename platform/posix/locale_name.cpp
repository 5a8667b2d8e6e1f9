#include "platform/posix/locale_name.h"

#include <cctype>

namespace orvane::posix {
namespace {

std::string WithCase(std::string_view text, int (*change)(int)) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) result.push_back(static_cast<char>(change(static_cast<unsigned char>(c))));
  return result;
}

}  // namespace

LocaleName ParseLocaleName(std::string_view name) {
  const std::string_view base = name.substr(0, name.find_first_of(".@"));
  const std::size_t underscore = base.find('_');
  LocaleName parts;
  parts.language = WithCase(base.substr(0, underscore), std::tolower);
  if (underscore != std::string_view::npos) {
    parts.territory = WithCase(base.substr(underscore + 1), std::toupper);
  }
  return parts;
}

bool IsTraditionalChineseTerritory(std::string_view territory) {
  return territory == "TW" || territory == "HK" || territory == "MO";
}

}  // namespace orvane::posix
