#pragma once

#include "platform/windows/windows_headers.h"

namespace orvane::com {

// Writes the class, its two ProgIDs and the type library into the registry;
// on a failure half way, removes what it wrote.
HRESULT RegisterServer();
// Removes every key RegisterServer writes.
HRESULT UnregisterServer();

}  // namespace orvane::com
