#pragma once

#include <exception>
#include <new>
#include <optional>

#include "platform/error.h"

namespace orvane {

// The one conversion from whatever a call threw to the error it reports.
inline Error ErrorFromCurrentException() noexcept {
  try {
    throw;
  } catch (const Error& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return Error(errors::kOutOfMemory);
  } catch (...) {
    return Error(errors::kInternalError);
  }
}

// Runs `body`; nothing when it ended normally, else the error that ended it.
template <typename Body>
std::optional<Error> Attempt(Body&& body) noexcept {
  try {
    body();
    return std::nullopt;
  } catch (...) {
    return ErrorFromCurrentException();
  }
}

}  // namespace orvane
