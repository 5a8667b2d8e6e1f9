#include "platform/posix/posix_file_time.h"

#include <cstdint>

#include "platform/automation_date.h"

namespace orvane::posix {
namespace {

constexpr uint64_t kTicksPerMillisecond = 10'000;
constexpr uint64_t kMillisecondsPerDay = 86'400'000;
constexpr uint64_t kFirstRefusedCount = uint64_t{1} << 63;

int16_t Field(int64_t value) { return static_cast<int16_t>(value); }

}  // namespace

bool PosixFileTimeConverter::FileTimeToSystemTime(const FileTime& time, SystemTime& out) {
  const uint64_t ticks = time.ticks();
  if (ticks >= kFirstRefusedCount) return false;
  const uint64_t milliseconds = ticks / kTicksPerMillisecond;
  const int64_t days =
      DaysFromCivil(1601, 1, 1) + static_cast<int64_t>(milliseconds / kMillisecondsPerDay);
  const int64_t of_day = static_cast<int64_t>(milliseconds % kMillisecondsPerDay);
  const DateTimeParts date = CivilFromDays(days);

  out.wYear = Field(date.year);
  out.wMonth = Field(date.month);
  out.wDayOfWeek = Field(WeekdayFromDays(days));
  out.wDay = Field(date.day);
  out.wHour = Field(of_day / 3'600'000);
  out.wMinute = Field(of_day / 60'000 % 60);
  out.wSecond = Field(of_day / 1'000 % 60);
  out.wMilliseconds = Field(of_day % 1'000);
  return true;
}

}  // namespace orvane::posix
