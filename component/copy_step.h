#pragma once

#include <string>

#include "component/call_context.h"

namespace orvane {

// Copies one item's file from the working folder into ExportDestination under
// its own name, replacing a file of that name there. A failure here does not
// end the run: it is shown in a critical message box with the error's
// description and stops the run after the current item; so does a file that
// is not there (53). When the existence test itself fails, the copy is tried
// all the same.
void CopyIntoDestination(CallContext& context, const std::u16string& file);

}  // namespace orvane
