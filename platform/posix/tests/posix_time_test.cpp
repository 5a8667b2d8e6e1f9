#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/posix/posix_file_time.h"
#include "platform/posix/posix_time_zone.h"

namespace orvane::posix {
namespace {

constexpr time_t kJanuary = 1'705'320'000;  // 2024-01-15T12:00:00Z
constexpr time_t kJuly = 1'721'044'800;     // 2024-07-15T12:00:00Z

// Points the process at one zone, given by its rules, and back again afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = ::getenv("TZ")) old_ = old;
    Set(zone);
  }
  ~ScopedTimeZone() { Set(old_ ? old_->c_str() : nullptr); }

 private:
  static void Set(const char* zone) {
    zone != nullptr ? ::setenv("TZ", zone, 1) : ::unsetenv("TZ");
    ::tzset();
  }
  std::optional<std::string> old_;
};

auto Fields(const TimeZoneInformation& information) {
  return std::tuple(information.result, information.bias, information.standard_bias,
                    information.daylight_bias);
}

TEST(PosixTimeZone, ReportsTheZoneAsKernel32WouldTable) {
  const struct { const char* zone; time_t now; TimeZoneInformation expected; } cases[] = {
      {"IST-5:30", kJuly, {0, -330, 0, 0}},
      {"NST3:30NDT,M3.2.0,M11.1.0", kJanuary, {1, 210, 0, -60}},
      {"NST3:30NDT,M3.2.0,M11.1.0", kJuly, {2, 210, 0, -60}},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", kJanuary, {2, -600, 0, -60}},  // summer in January
      // Negative daylight saving: winter flagged as daylight time, one hour behind.
      {"IST-1GMT0,M10.5.0,M3.5.0/1", kJanuary, {1, 0, 0, -60}},
  };
  for (const auto& c : cases) {
    ScopedTimeZone zone(c.zone);
    PosixTimeZone time_zone([&] { return c.now; });
    EXPECT_EQ(Fields(time_zone.GetTimeZoneInformation()), Fields(c.expected)) << c.zone;
  }
}

TEST(PosixTimeZone, FollowsAChangedZoneWithoutBeingTold) {
  PosixTimeZone time_zone([] { return kJanuary; });
  ScopedTimeZone zone("UTC0");
  EXPECT_EQ(time_zone.GetTimeZoneInformation().bias, 0);
  ::setenv("TZ", "CST-8", 1);  // no tzset: the service must notice by itself
  EXPECT_EQ(time_zone.GetTimeZoneInformation().bias, -480);
}

// Counts from 2^63 up are refused, and the out value is left alone.
TEST(PosixFileTimeConverter, ConvertsTicksToCalendarFieldsTable) {
  const struct { uint64_t ticks; std::optional<SystemTime> expected; } cases[] = {
      {0, SystemTime{1601, 1, 1, 1, 0, 0, 0, 0}},  // a Monday
      {9'999, SystemTime{1601, 1, 1, 1, 0, 0, 0, 0}},
      {127541520001230000, SystemTime{2005, 3, 2, 1, 12, 0, 0, 123}},
      {0x7FFFFFFFFFFFFFFF, SystemTime{30828, 9, 4, 14, 2, 48, 5, 477}},
      {uint64_t{1} << 63, std::nullopt},
  };
  const SystemTime sentinel{-7, -7, -7, -7, -7, -7, -7, -7};
  PosixFileTimeConverter converter;
  for (const auto& c : cases) {
    SystemTime out = sentinel;
    EXPECT_EQ(converter.FileTimeToSystemTime(FileTime::FromTicks(c.ticks), out),
              c.expected.has_value()) << c.ticks;
    EXPECT_EQ(out, c.expected.value_or(sentinel)) << c.ticks;
  }
}

}  // namespace
}  // namespace orvane::posix
