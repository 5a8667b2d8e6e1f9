#pragma once

#include <string>

#include "platform/posix/system_calls.h"

namespace orvane::posix {

// Removes a folder with everything in it. Links inside are removed, never
// followed, so nothing outside the tree is touched. Stops at the first failure
// and returns its errno value; 0 when the whole tree is gone.
int RemoveFolderTree(SystemCalls& calls, const std::string& folder);

}  // namespace orvane::posix
