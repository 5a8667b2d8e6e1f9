#include "platform/posix/posix_time_zone.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/automation_date.h"

namespace orvane::posix {
namespace {

// Points the process at one zone of the TZ database and back again afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& zone) {
    if (const char* old = ::getenv("TZ")) old_ = old;
    ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (old_) {
      ::setenv("TZ", old_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> old_;
};

bool ZoneIsInstalled(const std::string& zone) {
  return zone == "UTC" || ::access(("/usr/share/zoneinfo/" + zone).c_str(), R_OK) == 0;
}

time_t NoonUtc(int year, int month, int day) {
  return static_cast<time_t>(SecondsFromParts({year, month, day, 12, 0, 0}));
}

struct ZoneCase {
  const char* zone;
  time_t now;
  int32_t result;
  int32_t bias;
  int32_t daylight_bias;
};

TEST(PosixTimeZone, ReportsTheZoneAsKernel32Would) {
  const time_t january = NoonUtc(2024, 1, 15);
  const time_t july = NoonUtc(2024, 7, 15);
  const ZoneCase cases[] = {
      {"UTC", january, 0, 0, 0},
      {"Asia/Taipei", january, 0, -480, 0},
      {"Asia/Taipei", july, 0, -480, 0},
      {"Asia/Kolkata", july, 0, -330, 0},
      {"America/St_Johns", january, 1, 210, -60},
      {"America/St_Johns", july, 2, 210, -60},
      {"America/New_York", january, 1, 300, -60},
      {"America/New_York", july, 2, 300, -60},
      {"Australia/Sydney", january, 2, -600, -60},
      {"Australia/Sydney", july, 1, -600, -60},
      {"Australia/Lord_Howe", january, 2, -630, -30},
      {"Europe/Dublin", january, 1, 0, -60},
      {"Europe/Dublin", july, 2, 0, -60},
  };
  for (const auto& c : cases) {
    if (!ZoneIsInstalled(c.zone)) GTEST_SKIP() << "the TZ database is not installed";
    ScopedTimeZone zone(c.zone);
    PosixTimeZone time_zone([&] { return c.now; });
    const TimeZoneInformation information = time_zone.GetTimeZoneInformation();
    EXPECT_EQ(information.result, c.result) << c.zone;
    EXPECT_EQ(information.bias, c.bias) << c.zone;
    EXPECT_EQ(information.standard_bias, 0) << c.zone;
    EXPECT_EQ(information.daylight_bias, c.daylight_bias) << c.zone;
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
  const struct {
    ZoneOffsets offsets;
    TimeZoneInformation expected;
  } cases[] = {
      {{0, std::nullopt, false}, {0, 0, 0, 0}},
      {{8 * 3600, std::nullopt, false}, {0, -480, 0, 0}},
      {{-5 * 3600, -4 * 3600, false}, {1, 300, 0, -60}},
      {{-5 * 3600, -4 * 3600, true}, {2, 300, 0, -60}},
      {{-12600, -9000, true}, {2, 210, 0, -60}},
      {{37800, 39600, false}, {1, -630, 0, -30}},
      // Negative daylight saving: winter flagged as daylight time, one hour behind.
      {{3600, 0, true}, {1, 0, 0, -60}},
      {{3600, 0, false}, {2, 0, 0, -60}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const TimeZoneInformation information = InformationFromOffsets(cases[i].offsets);
    EXPECT_EQ(information.result, cases[i].expected.result) << "case " << i;
    EXPECT_EQ(information.bias, cases[i].expected.bias) << "case " << i;
    EXPECT_EQ(information.standard_bias, cases[i].expected.standard_bias) << "case " << i;
    EXPECT_EQ(information.daylight_bias, cases[i].expected.daylight_bias) << "case " << i;
  }
}

}  // namespace
}  // namespace orvane::posix
