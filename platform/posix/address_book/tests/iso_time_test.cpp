#include "platform/posix/address_book/iso_time.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orvane::posix {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr uint64_t kUnixEpochSeconds = 11'644'473'600;
constexpr uint64_t kTicksPerSecond = 10'000'000;

// `unix_seconds` since 1970 plus `extra` ticks.
constexpr uint64_t Ticks(int64_t unix_seconds, uint64_t extra = 0) {
  return (kUnixEpochSeconds + static_cast<uint64_t>(unix_seconds)) * kTicksPerSecond + extra;
}

// 2005-03-01T12:00:00 as seconds since 1970 (date -u -d ... +%s).
constexpr int64_t kMarchFirstNoon = 1'109'678'400;
// 1980-05-17T00:00:00.
constexpr int64_t kMay17Midnight = 327'369'600;

struct TimeCase {
  const char* text;
  std::optional<StoredTime> expected;
};

const TimeCase kTimeCases[] = {
    {"2005-03-01T12:00:00Z", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T12:00Z", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T12:00:00.123Z", StoredTime{Ticks(kMarchFirstNoon, 1'230'000), true}},
    {"2005-03-01T12:00:00.5Z", StoredTime{Ticks(kMarchFirstNoon, 5'000'000), true}},
    {"2005-03-01T12:00:00.1234567Z", StoredTime{Ticks(kMarchFirstNoon, 1'234'567), true}},
    {"2005-03-01T12:00:00.123456789Z", StoredTime{Ticks(kMarchFirstNoon, 1'234'567), true}},
    {"2005-03-01T17:30:00+05:30", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T17:30:00+0530", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T07:00:00-05", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T06:30:00.25-05:30", StoredTime{Ticks(kMarchFirstNoon, 2'500'000), true}},
    {"2005-03-01T12:00:00+00:00", StoredTime{Ticks(kMarchFirstNoon), true}},
    {"2005-03-01T12:00:00", StoredTime{Ticks(kMarchFirstNoon), false}},
    {"2005-03-01T12:00", StoredTime{Ticks(kMarchFirstNoon), false}},
    {"2005-03-01T12:00:00.75", StoredTime{Ticks(kMarchFirstNoon, 7'500'000), false}},
    {"1980-05-17", StoredTime{Ticks(kMay17Midnight), false}},
    {"2000-02-29", StoredTime{Ticks(951'782'400), false}},
    {"1601-01-01T00:00:00Z", StoredTime{0, true}},
    {"1601-01-01", StoredTime{0, false}},
    {"9999-12-31T23:59:59Z", StoredTime{Ticks(253'402'300'799), true}},
    // Not times this library accepts.
    {"", std::nullopt},
    {"2005", std::nullopt},
    {"2005-03", std::nullopt},
    {"2005-3-01", std::nullopt},
    {"05-03-01", std::nullopt},
    {"2005-03-01T", std::nullopt},
    {"2005-03-01T12", std::nullopt},
    {"2005-03-01 12:00:00", std::nullopt},
    {"2005-03-01Z", std::nullopt},
    {"2005-03-01T12:00:00.Z", std::nullopt},
    {"2005-03-01T12:00:00z", std::nullopt},
    {"2005-03-01T12:00:00ZZ", std::nullopt},
    {"2005-03-01T12:00:00Z ", std::nullopt},
    {" 2005-03-01", std::nullopt},
    {"2005-03-01T12:00:00+5:30", std::nullopt},
    {"2005-03-01T12:00:00+05:3", std::nullopt},
    {"2005-03-01T12:00:00+24:00", std::nullopt},
    {"2005-03-01T12:00:00+05:60", std::nullopt},
    {"2005-03-01T24:00:00", std::nullopt},
    {"2005-03-01T12:60:00", std::nullopt},
    {"2005-03-01T12:00:60", std::nullopt},
    {"2005-00-10", std::nullopt},
    {"2005-13-01", std::nullopt},
    {"2005-03-00", std::nullopt},
    {"2005-03-32", std::nullopt},
    {"2005-04-31", std::nullopt},
    {"2005-02-29", std::nullopt},
    {"1900-02-29", std::nullopt},
    {"1600-12-31", std::nullopt},
    {"1601-01-01T00:00:00+01:00", std::nullopt},
    {"2005-03-01T12:00:00+05:30x", std::nullopt},
    {"20050301", std::nullopt},
    {"2005-03-01T12:00:00-", std::nullopt},
};

class IsoTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(IsoTimeTest, ReadsTheTimeOrRefusesIt) {
  const auto parsed = ParseIsoTime(GetParam().text);
  ASSERT_EQ(parsed.has_value(), GetParam().expected.has_value()) << GetParam().text;
  if (parsed) {
    EXPECT_EQ(parsed->ticks, GetParam().expected->ticks) << GetParam().text;
    EXPECT_EQ(parsed->universal, GetParam().expected->universal) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, IsoTimeTest, ::testing::ValuesIn(kTimeCases));

}  // namespace
}  // namespace orvane::posix
