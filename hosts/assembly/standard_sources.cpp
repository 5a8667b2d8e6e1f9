#include "hosts/assembly/standard_sources.h"

#include "addressbook/address_book_source.h"
#include "component/export_type.h"
#include "outlook/outlook_source.h"

namespace orvane {

ExportSources MakeStandardSources() {
  return ExportSources{MakeOutlookSource(kOutlookContacts), MakeOutlookSource(kOutlookCalendar),
                       MakeAddressBookSource()};
}

}  // namespace orvane
