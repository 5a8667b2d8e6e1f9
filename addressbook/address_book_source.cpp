#include "addressbook/address_book_source.h"

#include "addressbook/wab_export_run.h"
#include "addressbook/wab_items.h"

namespace orvane {
namespace {

// The library is opened inside each operation; there is no session to open first.
constexpr SourceProcedures kAddressBook = {nullptr, CountWabEntries, GetWabEntryInfo,
                                           ExportWabEntry, ExportWabContacts};

}  // namespace

std::unique_ptr<ExportSource> MakeAddressBookSource() {
  return std::make_unique<ProcedureSource>(kAddressBook);
}

}  // namespace orvane
