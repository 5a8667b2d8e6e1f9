#include "platform/posix/locale_settings.h"

#include <cstdlib>

namespace orvane::posix {

LocaleSettings ProcessLocaleSettings() {
  return [](const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
  };
}

std::string FirstLocaleSetting(const LocaleSettings& settings,
                               std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::string value = settings(name);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace orvane::posix
