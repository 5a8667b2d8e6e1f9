#pragma once

#include <cstdint>

namespace orvane::posix {

// What a missing path (ENOENT) means for the operation that met it: the file it
// looked for is absent, or a folder on the way to it is.
enum class MissingPath { kFile, kFolder };

// The automation error number nearest to an operating-system error number.
// This one table serves every file and folder operation.
int32_t ErrorNumberFromErrno(int os_error, MissingPath missing);

// Throws orvane::Error with the number ErrorNumberFromErrno gives.
[[noreturn]] void ThrowForErrno(int os_error, MissingPath missing);

}  // namespace orvane::posix
