#include "outlook/outlook_source.h"

#include "outlook/outlook_session.h"
#include "platform/error.h"

namespace orvane {
namespace {

// The mail client's folders and items are reached through an object model that
// this build does not have yet: once the session is open, every operation
// reports that the object it needs is missing.
class OutlookSource final : public ExportSource {
 public:
  void OpenSession(CallContext& context) override { OpenOutlook(context); }
  int16_t CountItems(CallContext&) override { throw Error(errors::kObjectNotSet); }
  void GetItemInfo(CallContext&, int16_t, std::u16string&, AutomationDate&) override {
    throw Error(errors::kObjectNotSet);
  }
  void ExportItem(CallContext&, int16_t, const std::u16string&) override {
    throw Error(errors::kObjectNotSet);
  }
  void ExportAll(CallContext&) override { throw Error(errors::kObjectNotSet); }
};

}  // namespace

std::unique_ptr<ExportSource> MakeOutlookSource(int16_t) { return std::make_unique<OutlookSource>(); }

}  // namespace orvane
