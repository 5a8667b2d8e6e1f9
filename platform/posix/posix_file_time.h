#pragma once

#include "platform/file_time.h"

namespace orvane::posix {

// FILETIME to calendar fields by plain arithmetic on the proleptic Gregorian
// calendar, with no time-zone shift. Counts of 2^63 and above are refused,
// leaving `out` untouched, as the Windows call does.
class PosixFileTimeConverter final : public FileTimeConverter {
 public:
  bool FileTimeToSystemTime(const FileTime& time, SystemTime& out) override;
};

}  // namespace orvane::posix
