#pragma once

#include <string>

#include "platform/component_location.h"

namespace orvane::posix {

// The path of the binary (executable or shared library) that holds `address`,
// made absolute; empty when it cannot be found.
std::string BinaryPathOf(const void* address);

// The folder of the binary this library is linked into, found at each use:
// the loaded object that holds this code, or /proc/self/exe when that is the
// main program. No "/" at its end (except for the root).
class PosixComponentLocation final : public ComponentLocation {
 public:
  std::u16string ComponentFolder() override;
};

}  // namespace orvane::posix
