#pragma once

#include <functional>
#include <string>

#include "component/orvane2.h"
#include "hosts/cli/console.h"
#include "hosts/cli/console_message_box.h"
#include "hosts/cli/results.h"
#include "platform/address_book_library.h"

namespace orvane::cli {

// What the commands work with: the component, the address-book library it was
// given (to ask why it could not be opened), and standard error.
struct Session {
  Orvane2& orvane;
  AddressBookLibrary* address_book;  // null when the platform has none
  ConsoleMessageBox& message_box;
  Console& console;
};

// One function per command; each calls its public method and fills `report`
// with the messages shown and what went wrong. Paths are absolute already.
CountResult RunCount(Session& session, int16_t type, CallReport& report);
ItemResult RunItem(Session& session, int16_t type, int16_t index, CallReport& report);
ExportItemResult RunExportItem(Session& session, int16_t type, int16_t index,
                               const std::string& filename, CallReport& report);
// `stop_requested` tells afterwards whether Ctrl-C asked the run to stop.
ExportResult RunExport(Session& session, const ExportArguments& arguments,
                       const std::function<bool()>& stop_requested, CallReport& report);

}  // namespace orvane::cli
