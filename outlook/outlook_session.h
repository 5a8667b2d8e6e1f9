#pragma once

#include "component/call_context.h"

namespace orvane {

// Creates the mail client's application anew, takes its "MAPI" namespace and
// logs on. Any failure shows message 2567, adds it to the run's log text and
// ends the call with error 91.
void OpenOutlook(CallContext& context);

}  // namespace orvane
