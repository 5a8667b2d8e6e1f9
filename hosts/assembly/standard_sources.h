#pragma once

#include "component/module.h"

namespace orvane {

// Every source the component serves: the mail client's contacts and calendar,
// and the address book. Each host assembles its Module from these and its own
// platform services.
ExportSources MakeStandardSources();

}  // namespace orvane
