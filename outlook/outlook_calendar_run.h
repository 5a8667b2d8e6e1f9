#pragma once

#include "component/call_context.h"

namespace orvane {

// The whole export of the mail client's default calendar folder (not its
// subfolders), after Export2 has prepared the run and opened the session: one
// vCalendar file per appointment that does not recur. An empty calendar adds
// nothing to the log. A stop request ends the run before the next item; a
// failing copy stops it after the current one; any other failure ends the run
// with its error.
void ExportOutlookCalendar(CallContext& context);

}  // namespace orvane
