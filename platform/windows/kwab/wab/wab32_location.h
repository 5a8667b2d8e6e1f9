#pragma once

#include "platform/windows/windows_headers.h"

namespace orvane::windows::kwab {

// Loads wab32.dll where Windows keeps it for the WAB API: the path in the
// default value of HKLM\Software\Microsoft\WAB\DLLPath, else wab32.dll in the
// system folder (never the search path, which a planted copy could take).
// Null when neither can be loaded.
HMODULE LoadWab32();

}  // namespace orvane::windows::kwab
