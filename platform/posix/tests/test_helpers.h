#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/error.h"
#include "platform/posix/environment.h"

namespace orvane::posix::testing {

// The number of the orvane::Error that `call` throws; 0 when it throws none.
inline int32_t ThrownErrorNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

// An environment holding exactly the given variables.
inline EnvironmentReader FakeEnvironment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

}  // namespace orvane::posix::testing
