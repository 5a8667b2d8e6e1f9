#pragma once

#include <functional>
#include <map>
#include <string>

#include "component/orvane2.h"
#include "hosts/cli/console.h"
#include "hosts/cli/console_message_box.h"
#include "hosts/cli/results.h"

namespace orvane::cli {

// A source that reads a file the user can name. The component only says that
// it could not use the source (or nothing at all); the source can tell why.
struct SourceFile {
  std::string what;      // "the address book"
  std::string option;    // "--address-book FILE"
  std::string variable;  // "ORVANE_ADDRESS_BOOK"
  std::function<std::u16string()> open_failure_reason;  // empty: it opened
};

// What the commands work with: the component, the files its sources read (by
// export type, to ask why they could not be opened), and standard error.
struct Session {
  Orvane2& orvane;
  std::map<int16_t, SourceFile> source_files;
  ConsoleMessageBox& message_box;
  Console& console;
};

// One function per command; each calls its public method and fills `report`
// with the messages shown and what went wrong. Paths are absolute already.
CountResult RunCount(Session& session, int16_t type, CallReport& report);
// itemcount, then GetItem for each index, as any host would; an item that fails
// is kept with its result and the listing goes on. `stop_requested` is asked
// between items (Ctrl-C).
ListResult RunList(Session& session, int16_t type, const std::function<bool()>& stop_requested,
                   CallReport& report);
ItemResult RunItem(Session& session, int16_t type, int16_t index, CallReport& report);
ExportItemResult RunExportItem(Session& session, int16_t type, int16_t index,
                               const std::string& filename, CallReport& report);
// `stop_requested` tells afterwards whether Ctrl-C asked the run to stop.
ExportResult RunExport(Session& session, const ExportArguments& arguments,
                       const std::function<bool()>& stop_requested, CallReport& report);

}  // namespace orvane::cli
