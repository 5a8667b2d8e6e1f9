#pragma once

#include <optional>
#include <string>

#include "platform/clock.h"

namespace orvane::cli {

// "2005-03-01T12:00:00": the date and time an automation date names, to the
// second. No zone is added: the value carries none, and the text must say no
// more than the component handed out. Nothing when the value is no date
// (outside the years 100 to 9999, or not a number).
std::optional<std::string> IsoTextOf(AutomationDate date);

}  // namespace orvane::cli
