#pragma once

#include <cstdint>
#include <memory>

#include "component/export_source.h"

namespace orvane {

// Export types 1 and 2: the mail client's contacts and calendar entries; no
// source (null) for any other type.
std::unique_ptr<ExportSource> MakeOutlookSource(int16_t ExportType);

}  // namespace orvane
