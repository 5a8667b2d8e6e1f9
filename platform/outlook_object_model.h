#pragma once

#include <memory>
#include <string>

namespace orvane {

// The mail client's published object model, as far as the component reaches it.
class OutlookNamespace {
 public:
  virtual ~OutlookNamespace() = default;
  virtual void Logon(bool show_dialog, bool new_session) = 0;
};

class OutlookApplication {
 public:
  virtual ~OutlookApplication() = default;
  virtual std::shared_ptr<OutlookNamespace> GetNamespace(const std::u16string& type) = 0;
};

// Creates the mail client's application object; throws orvane::Error when the
// mail client is not installed or cannot be started.
class OutlookObjectModel {
 public:
  virtual ~OutlookObjectModel() = default;
  virtual std::shared_ptr<OutlookApplication> CreateApplication() = 0;
};

}  // namespace orvane
