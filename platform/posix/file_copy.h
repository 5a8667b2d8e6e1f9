#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/posix/system_calls.h"

namespace orvane::posix {

// Asked when something has the target's name already: 0 lets the new file take
// its place, anything else is the errno value the write fails with.
using ReplaceCheck = std::function<int()>;

// The check for a new file that takes the name of `target`: a regular file
// there is replaced only when the user may write it (its protection is what
// the user set to keep it; a rename would not ask). The errno value of the
// refusal, or of a status the system cannot give; 0 when nothing stops it.
int ReplaceRefusal(SystemCalls& calls, const std::string& target);

// Copies the open file `source`, read from where it stands, to the file path
// `target`, replacing what is there when `may_replace` allows. The bytes go to
// a new file beside the target first, which then takes the target's name in one
// step: a copy that fails on the way leaves the old target as it was and no
// partial file behind. The copy gets the permission bits `mode`, the source's.
// Returns 0 or the errno value of the first failure, with `failed_on_source`
// telling whether reading the source was what failed.
int CopyFileReplacing(SystemCalls& calls, int source, mode_t mode, const std::string& target,
                      const ReplaceCheck& may_replace, bool& failed_on_source);

// Writes `bytes` as the file `target`, replacing what is there when
// `may_replace` allows, in the same way: a new file beside the target takes
// its name only once it is complete. The file gets the permission bits a new
// file gets (0666 less the umask). Returns 0 or the errno value of the first
// failure.
int WriteFileReplacing(SystemCalls& calls, const std::string& target, std::string_view bytes,
                       const ReplaceCheck& may_replace);

}  // namespace orvane::posix
