#pragma once

#include "platform/outlook_object_model.h"

namespace orvane::windows {

// The mail client's application, created by its class identifier and driven
// entirely through IDispatch by member name: its type library is not at hand.
class WindowsOutlookObjectModel final : public OutlookObjectModel {
 public:
  std::shared_ptr<OutlookApplication> CreateApplication() override;
};

}  // namespace orvane::windows
