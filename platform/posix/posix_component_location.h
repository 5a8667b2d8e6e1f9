#pragma once

#include <string>
#include <utility>

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
  // `installed_folder`: where an installation puts the program (UTF-8); a
  // component found there is shared by every user of the machine.
  // By default, the folder the build installs its programs in.
  PosixComponentLocation();
  explicit PosixComponentLocation(std::string installed_folder)
      : installed_folder_(std::move(installed_folder)) {}
  std::u16string ComponentFolder() override;
  bool InSystemProgramFolder() override;

 private:
  std::string installed_folder_;
};

}  // namespace orvane::posix
