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

// Refusals of a write that the user has not allowed; anything else (a file
// that vanished meanwhile) is left to the operation itself.
bool IsWriteRefusal(int os_error);

// What stat answers for a path that is not there.
bool IsAbsence(int os_error);

}  // namespace orvane::posix
