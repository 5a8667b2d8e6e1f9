#include "addressbook/address_book_source.h"

#include "addressbook/wab_export_run.h"
#include "addressbook/wab_items.h"

namespace orvane {
namespace {

class AddressBookSource final : public ExportSource {
 public:
  int16_t CountItems(CallContext& context) override { return CountWabEntries(context); }
  void GetItemInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                   AutomationDate& ModifyTime) override {
    GetWabEntryInfo(context, ItemIdx, Title, ModifyTime);
  }
  void ExportItem(CallContext& context, int16_t ItemIdx, const std::u16string& filename) override {
    ExportWabEntry(context, ItemIdx, filename);
  }
  void ExportAll(CallContext& context) override { ExportWabContacts(context); }
};

}  // namespace

std::unique_ptr<ExportSource> MakeAddressBookSource() { return std::make_unique<AddressBookSource>(); }

}  // namespace orvane
