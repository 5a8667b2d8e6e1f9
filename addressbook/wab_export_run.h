#pragma once

#include "component/call_context.h"

namespace orvane {

// The whole export of the address book, after Export2 has prepared the run: one
// card file per entry, written in TempFolder and copied into ExportDestination,
// with progress events and the run's log lines. A stop request ends it between
// entries; errors leave by orvane::Error.
void ExportWabContacts(CallContext& context);

}  // namespace orvane
