#include "platform/posix/environment.h"

#include <cstdlib>

namespace orvane::posix {

EnvironmentReader ProcessEnvironment() {
  return [](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

std::string ValueOf(const EnvironmentReader& environment, const std::string& name) {
  return environment(name).value_or(std::string{});
}

std::string FirstSetVariable(const EnvironmentReader& environment,
                             std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::string value = ValueOf(environment, name);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace orvane::posix
