#pragma once

#include <cstdint>
#include <string>

#include "component/call_context.h"

namespace orvane {

// Turns the caller's `filename` (empty, a bare name, a folder or a file path)
// into the target path of one item, without extension. Changes `filename` in
// place and returns it. Uses state.FileSys; creates nothing.
std::u16string BuildItemFileName(CallContext& context, int16_t ItemIdx, int16_t ExportType,
                                 std::u16string& filename);

}  // namespace orvane
