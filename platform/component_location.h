#pragma once

#include <string>

namespace orvane {

// The folder that holds the component's own binary, read at each use.
class ComponentLocation {
 public:
  virtual ~ComponentLocation() = default;
  virtual std::u16string ComponentFolder() = 0;
};

}  // namespace orvane
