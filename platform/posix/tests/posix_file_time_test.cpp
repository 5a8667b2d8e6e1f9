#include "platform/posix/posix_file_time.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane::posix {
namespace {

TEST(PosixFileTimeConverter, ConvertsTicksToCalendarFields) {
  const struct {
    uint64_t ticks;
    SystemTime expected;
  } cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},  // a Monday
      {9'999, {1601, 1, 1, 1, 0, 0, 0, 0}},
      {10'000, {1601, 1, 1, 1, 0, 0, 0, 1}},
      {116444736000000000, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {127541520001230000, {2005, 3, 2, 1, 12, 0, 0, 123}},
      {125962560000000000, {2000, 2, 2, 29, 0, 0, 0, 0}},
      {125963423990000000, {2000, 2, 2, 29, 23, 59, 59, 0}},
      {0x7FFFFFFFFFFFFFFF, {30828, 9, 4, 14, 2, 48, 5, 477}},
  };
  PosixFileTimeConverter converter;
  for (const auto& c : cases) {
    SystemTime out;
    ASSERT_TRUE(converter.FileTimeToSystemTime(FileTime::FromTicks(c.ticks), out)) << c.ticks;
    EXPECT_EQ(out, c.expected) << c.ticks;
  }
}

TEST(PosixFileTimeConverter, RefusesCountsFrom2To63Up) {
  const SystemTime sentinel{-7, -7, -7, -7, -7, -7, -7, -7};
  PosixFileTimeConverter converter;
  for (const uint64_t ticks : {uint64_t{1} << 63, (uint64_t{1} << 63) + 1, ~uint64_t{0}}) {
    SystemTime out = sentinel;
    EXPECT_FALSE(converter.FileTimeToSystemTime(FileTime::FromTicks(ticks), out)) << ticks;
    EXPECT_EQ(out, sentinel);
  }
}

}  // namespace
}  // namespace orvane::posix
