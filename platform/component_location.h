#pragma once

#include <string>

namespace orvane {

// The folder that holds the component's own binary, read at each use.
class ComponentLocation {
 public:
  virtual ~ComponentLocation() = default;
  virtual std::u16string ComponentFolder() = 0;
  // True when the component lives in a program folder of the system, shared by
  // every user: a run must then write nothing beside it, even run by the
  // administrator, and works in the temporary folder instead.
  virtual bool InSystemProgramFolder() { return false; }
};

}  // namespace orvane
