#include "addressbook/address_book_source.h"

namespace orvane {
namespace {

// Until the address-book operations land: a machine whose address book cannot be opened.
class AddressBookSource final : public ExportSource {
 public:
  int16_t CountItems(CallContext&) override { return 0; }
  void GetItemInfo(CallContext&, int16_t, std::u16string&, AutomationDate&) override {}
  void ExportItem(CallContext&, int16_t, const std::u16string&) override {}
  void ExportAll(CallContext&) override {}
};

}  // namespace

std::unique_ptr<ExportSource> MakeAddressBookSource() { return std::make_unique<AddressBookSource>(); }

}  // namespace orvane
