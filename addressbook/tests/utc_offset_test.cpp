#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_call.h"
#include "addressbook/vcard_writer.h"

namespace orvane::testing {
namespace {

// Rows print as their names.
using orvane::testing::PrintTo;

using Zone = TimeZoneInformation;

struct ZoneCase {
  const char* name;
  Zone zone;
  float expected;
};

class UtcOffsetHours : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(UtcOffsetHours, FollowsTheBiasInForce) {
  FixedTimeZone time_zone(GetParam().zone);
  EXPECT_EQ(GetUtcOffsetHours(time_zone), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, UtcOffsetHours,
    ::testing::Values(
        ZoneCase{"EightEastUnknown", {Zone::kUnknown, -480, 0, 0}, -8.0f},
        ZoneCase{"FiveWestStandard", {Zone::kStandard, 300, 0, -60}, 5.0f},
        ZoneCase{"FiveWestDaylight", {Zone::kDaylight, 300, 0, -60}, 4.0f},
        ZoneCase{"StandardBiasCounts", {Zone::kStandard, 300, 30, -60}, 5.5f},
        ZoneCase{"HalfHourEast", {Zone::kStandard, -330, 0, 0}, -5.5f},
        ZoneCase{"HalfHourWest", {Zone::kStandard, 210, 0, -60}, 3.5f},
        ZoneCase{"HalfHourWestDaylight", {Zone::kDaylight, 210, 0, -60}, 2.5f},
        ZoneCase{"QuarterHours", {Zone::kUnknown, -345, 0, 0}, -5.75f},
        ZoneCase{"Utc", {Zone::kStandard, 0, 0, 0}, 0.0f},
        ZoneCase{"Failure", {Zone::kInvalid, 300, 0, -60}, 0.0f},
        ZoneCase{"UnknownResult", {7, 300, 0, -60}, 0.0f},
        ZoneCase{"SumBeyond32Bits", {Zone::kStandard, INT32_MAX, 1, 0}, 0.0f}),
    RowName<ZoneCase>);

struct ShiftCase {
  const char* name;
  DateTimeParts stored;
  float offset;
  DateTimeParts expected;
};

class ShiftByOffset : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftByOffset, MovesByTheExactOffset) {
  const auto shifted =
      ShiftByUtcOffset(AutomationDateFromParts(GetParam().stored), GetParam().offset);
  ASSERT_TRUE(shifted.has_value());
  EXPECT_EQ(PartsFromAutomationDate(*shifted), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ShiftByOffset,
    ::testing::Values(
        ShiftCase{"EightEast", {2005, 3, 1, 12, 0, 0}, -8.0f, {2005, 3, 1, 4, 0, 0}},
        ShiftCase{"FiveWest", {2005, 3, 1, 12, 0, 0}, 5.0f, {2005, 3, 1, 17, 0, 0}},
        ShiftCase{"None", {2005, 3, 1, 12, 0, 0}, 0.0f, {2005, 3, 1, 12, 0, 0}},
        ShiftCase{"HalfHourEast", {2005, 3, 1, 12, 0, 0}, -5.5f, {2005, 3, 1, 6, 30, 0}},
        ShiftCase{"HalfHourWest", {2005, 3, 1, 12, 0, 0}, 3.5f, {2005, 3, 1, 15, 30, 0}},
        ShiftCase{"QuarterHours", {2005, 3, 1, 12, 0, 0}, -5.75f, {2005, 3, 1, 6, 15, 0}},
        ShiftCase{"AcrossTheYear", {2000, 1, 1, 0, 0, 0}, -8.0f, {1999, 12, 31, 16, 0, 0}},
        ShiftCase{"AcrossLeapDay", {2004, 2, 28, 22, 30, 15}, 3.5f, {2004, 2, 29, 2, 0, 15}},
        ShiftCase{"BeforeTheEpoch", {1899, 12, 30, 2, 0, 0}, -5.5f, {1899, 12, 29, 20, 30, 0}}),
    RowName<ShiftCase>);

TEST(ShiftByOffset, LeavingTheRangeOfDatesGivesNothing) {
  const AutomationDate last_hour = AutomationDateFromParts({9999, 12, 31, 23, 0, 0});
  EXPECT_FALSE(ShiftByUtcOffset(last_hour, 2.0f).has_value());
  EXPECT_FALSE(ShiftByUtcOffset(last_hour, std::numeric_limits<float>::quiet_NaN()).has_value());
  EXPECT_FALSE(ShiftByUtcOffset(last_hour, -std::numeric_limits<float>::infinity()).has_value());
  EXPECT_FALSE(ShiftByUtcOffset(last_hour, -3e38f).has_value());
}

}  // namespace
}  // namespace orvane::testing
