#pragma once

#include "platform/windows/windows_headers.h"

#include "platform/platform_services.h"

namespace orvane::windows {

// Every platform service as Windows provides it; `module` is the binary that
// holds the component (its folder is the component folder).
PlatformServices MakeWindowsPlatform(HMODULE module);

}  // namespace orvane::windows
