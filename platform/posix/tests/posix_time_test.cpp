#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <tuple>

#include "platform/automation_date.h"
#include "platform/posix/posix_file_time.h"
#include "platform/posix/posix_time_zone.h"

namespace orvane::posix {
namespace {

// Points the process at one zone of the TZ database and back again afterwards.
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

bool ZoneIsInstalled(const std::string& zone) {
  return zone == "UTC" || ::access(("/usr/share/zoneinfo/" + zone).c_str(), R_OK) == 0;
}

time_t NoonUtc(int year, int month, int day) {
  return static_cast<time_t>(SecondsFromParts({year, month, day, 12, 0, 0}));
}

auto Fields(const TimeZoneInformation& information) {
  return std::tuple(information.result, information.bias, information.standard_bias,
                    information.daylight_bias);
}

TEST(PosixTimeZone, ReportsTheZoneAsKernel32WouldTable) {
  const time_t january = NoonUtc(2024, 1, 15);
  const time_t july = NoonUtc(2024, 7, 15);
  const struct { const char* zone; time_t now; TimeZoneInformation expected; } cases[] = {
      {"UTC", january, {0, 0, 0, 0}},
      {"Asia/Taipei", january, {0, -480, 0, 0}},
      {"Asia/Kolkata", july, {0, -330, 0, 0}},
      {"America/St_Johns", january, {1, 210, 0, -60}},
      {"America/St_Johns", july, {2, 210, 0, -60}},
      {"America/New_York", january, {1, 300, 0, -60}},
      {"America/New_York", july, {2, 300, 0, -60}},
      {"Australia/Sydney", january, {2, -600, 0, -60}},  // summer in January
      {"Australia/Lord_Howe", january, {2, -630, 0, -30}},
      {"Europe/Dublin", january, {1, 0, 0, -60}},  // negative daylight saving in the database
      {"Europe/Dublin", july, {2, 0, 0, -60}},
  };
  for (const auto& c : cases) {
    if (!ZoneIsInstalled(c.zone)) GTEST_SKIP() << "the TZ database is not installed";
    ScopedTimeZone zone(c.zone);
    PosixTimeZone time_zone([&] { return c.now; });
    EXPECT_EQ(Fields(time_zone.GetTimeZoneInformation()), Fields(c.expected)) << c.zone;
  }
}

TEST(PosixTimeZone, FollowsAChangedZoneWithoutBeingTold) {
  if (!ZoneIsInstalled("Asia/Taipei")) GTEST_SKIP() << "the TZ database is not installed";
  PosixTimeZone time_zone([] { return NoonUtc(2024, 1, 15); });
  ScopedTimeZone zone("UTC");
  EXPECT_EQ(time_zone.GetTimeZoneInformation().bias, 0);
  ::setenv("TZ", "Asia/Taipei", 1);  // no tzset: the service must notice by itself
  EXPECT_EQ(time_zone.GetTimeZoneInformation().bias, -480);
}

TEST(PosixTimeZone, InformationFromOffsetsTable) {
  const struct { ZoneOffsets offsets; TimeZoneInformation expected; } cases[] = {
      {{0, std::nullopt, false}, {0, 0, 0, 0}},
      {{8 * 3600, std::nullopt, false}, {0, -480, 0, 0}},
      {{-5 * 3600, -4 * 3600, false}, {1, 300, 0, -60}},
      {{-5 * 3600, -4 * 3600, true}, {2, 300, 0, -60}},
      {{37800, 39600, false}, {1, -630, 0, -30}},
      // Negative daylight saving: winter flagged as daylight time, one hour behind.
      {{3600, 0, true}, {1, 0, 0, -60}},
      {{3600, 0, false}, {2, 0, 0, -60}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fields(InformationFromOffsets(c.offsets)), Fields(c.expected)) << c.offsets.standard;
  }
}

TEST(PosixFileTimeConverter, ConvertsTicksToCalendarFieldsTable) {
  const struct { uint64_t ticks; SystemTime expected; } cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},  // a Monday
      {9'999, {1601, 1, 1, 1, 0, 0, 0, 0}},
      {10'000, {1601, 1, 1, 1, 0, 0, 0, 1}},
      {116444736000000000, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {127541520001230000, {2005, 3, 2, 1, 12, 0, 0, 123}},
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

TEST(PosixFileTimeConverter, RefusesCountsFrom2To63UpLeavingOutUntouched) {
  const SystemTime sentinel{-7, -7, -7, -7, -7, -7, -7, -7};
  PosixFileTimeConverter converter;
  for (const uint64_t ticks : {uint64_t{1} << 63, ~uint64_t{0}}) {
    SystemTime out = sentinel;
    EXPECT_FALSE(converter.FileTimeToSystemTime(FileTime::FromTicks(ticks), out)) << ticks;
    EXPECT_EQ(out, sentinel);
  }
}

}  // namespace
}  // namespace orvane::posix
