#pragma once

#include <cstdint>

namespace orvane {

// The Windows count of 100-nanosecond intervals since 1 January 1601.
struct FileTime {
  uint32_t dwLowDateTime = 0;
  uint32_t dwHighDateTime = 0;

  uint64_t ticks() const { return (uint64_t{dwHighDateTime} << 32) | dwLowDateTime; }
  static FileTime FromTicks(uint64_t ticks) {
    return {static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
  }
};

struct SystemTime {
  int16_t wYear = 0;
  int16_t wMonth = 0;
  int16_t wDayOfWeek = 0;
  int16_t wDay = 0;
  int16_t wHour = 0;
  int16_t wMinute = 0;
  int16_t wSecond = 0;
  int16_t wMilliseconds = 0;

  friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

// FileTimeToSystemTime of kernel32: no time-zone conversion; fails (false,
// `out` untouched) for counts of 2^63 and above.
class FileTimeConverter {
 public:
  virtual ~FileTimeConverter() = default;
  virtual bool FileTimeToSystemTime(const FileTime& time, SystemTime& out) = 0;
};

}  // namespace orvane
