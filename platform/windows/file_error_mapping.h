#pragma once

#include <cstdint>

namespace orvane::windows {

// What a missing path means for the operation that met it: the file it looked
// for is absent (53), or the folder it works on or passes through is (76).
enum class MissingPath { kFile, kFolder };

// The automation error number for a failure code of a file or folder
// operation: an HRESULT (the scripting object's own 0x800A00xx codes, or a
// system error wrapped as 0x8007xxxx, as Windows and Wine each report it) or a
// bare system error number. 0 when the code is no file or folder failure.
// This one table serves every file and folder operation.
int32_t FileErrorNumber(uint32_t code, MissingPath missing);

}  // namespace orvane::windows
