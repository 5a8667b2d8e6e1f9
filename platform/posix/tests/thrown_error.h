#pragma once

#include <cstdint>
#include <functional>

#include "platform/error.h"

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

}  // namespace orvane::posix::testing
