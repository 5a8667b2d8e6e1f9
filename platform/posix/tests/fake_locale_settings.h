#pragma once

#include <map>
#include <string>

#include "platform/posix/locale_settings.h"

namespace orvane::posix::testing {

// Locale settings holding exactly the given variables.
inline LocaleSettings FakeLocaleSettings(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
  };
}

}  // namespace orvane::posix::testing
