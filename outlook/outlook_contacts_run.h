#pragma once

#include "component/call_context.h"

namespace orvane {

// The whole export of the mail client's contacts, after Export2 has prepared
// the run and opened the session: every contact below the default contacts
// folder, depth first with subfolders before a folder's own items, one vCard
// file each. The files are numbered through the whole run, so no folder's
// contacts replace another's; the progress counts are per folder. A stop
// request ends the walk before the next item; errors leave by orvane::Error.
void ExportOutlookContacts(CallContext& context);

}  // namespace orvane
