#pragma once

#include <string>

#include "component/call_context.h"

namespace orvane {

// "[" + "Export starting time:" + date + " " + time + "]" + CR LF, in the user's
// language and date formats; the first line of every run's log text.
std::u16string RunLogHeader(const CallContext& context);

// Appends the run's log text as one block to the log file.
void WriteRunLog(const CallContext& context);

}  // namespace orvane
