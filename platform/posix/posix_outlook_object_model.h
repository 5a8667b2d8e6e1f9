#pragma once

#include <memory>

#include "platform/outlook_object_model.h"

namespace orvane::posix {

// No mail client with an object model exists on this machine: creating its
// application always fails with error 429.
class PosixOutlookObjectModel final : public OutlookObjectModel {
 public:
  std::shared_ptr<OutlookApplication> CreateApplication() override;
};

}  // namespace orvane::posix
