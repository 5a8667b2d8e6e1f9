#include "platform/automation_date.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace orvane {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

TEST(AutomationDate, CivilDaysTable) {
  const struct { int year, month, day; int64_t days; int weekday; } cases[] = {
      {1970, 1, 1, 0, 4},
      {1969, 12, 31, -1, 3},
      {2000, 2, 29, 11016, 2},
      {1900, 3, 1, -25508, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), c.days) << c.year << "-" << c.month;
    EXPECT_EQ(CivilFromDays(c.days), (DateTimeParts{c.year, c.month, c.day, 0, 0, 0})) << c.days;
    EXPECT_EQ(WeekdayFromDays(c.days), c.weekday) << c.days;
  }
  for (int64_t days = -719162; days <= 2932896; days += 173) {
    const DateTimeParts parts = CivilFromDays(days);
    ASSERT_EQ(DaysFromCivil(parts.year, parts.month, parts.day), days);
    ASSERT_EQ(WeekdayFromDays(days + 7), WeekdayFromDays(days));
  }
  EXPECT_EQ(SecondsFromParts({2001, 9, 9, 1, 46, 40}), 1000000000);
}

// Each row converts both ways.
TEST(AutomationDate, RoundTripTable) {
  const struct { DateTimeParts parts; double date; } cases[] = {
      {{1899, 12, 29, 6, 0, 0}, -1.25},  // before day 0 the fraction still counts forward
      {{2005, 3, 1, 12, 0, 0}, 38412.5},
      {{100, 1, 1, 12, 0, 0}, -657434.5},
      {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 * kSecond},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(AutomationDateFromParts(c.parts), c.date, 1e-9) << c.date;
    EXPECT_EQ(PartsFromAutomationDate(c.date), c.parts) << c.date;
    EXPECT_EQ(PartsFromSeconds(SecondsFromParts(c.parts)), c.parts) << c.date;
  }
}

TEST(AutomationDate, ToPartsRoundsToTheNearestSecond) {
  const struct { double date; DateTimeParts parts; } cases[] = {
      {-0.5, {1899, 12, 30, 12, 0, 0}},  // the fraction of day 0 counts forward either way
      {38412.0 + 0.6 * kSecond, {2005, 3, 1, 0, 0, 1}},
      {36525.0 + 86399.6 * kSecond, {2000, 1, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(PartsFromAutomationDate(c.date), c.parts) << c.date;
}

TEST(AutomationDate, AddSecondsTable) {
  const struct { DateTimeParts start; int64_t seconds; DateTimeParts expected; } cases[] = {
      {{1999, 12, 31, 23, 59, 58}, 2, {2000, 1, 1, 0, 0, 0}},
      {{1899, 12, 30, 0, 0, 0}, -1, {1899, 12, 29, 23, 59, 59}},
      {{1899, 12, 29, 6, 0, 0}, 20 * 3600, {1899, 12, 30, 2, 0, 0}},
  };
  for (const auto& c : cases) {
    const std::optional<AutomationDate> moved =
        AddSeconds(AutomationDateFromParts(c.start), c.seconds);
    ASSERT_TRUE(moved.has_value()) << c.seconds;
    EXPECT_NEAR(*moved, AutomationDateFromParts(c.expected), 1e-9) << c.seconds;
  }
}

TEST(AutomationDate, NothingOutsideTheValidYears) {
  for (const double date : {-657435.0, 2958466.0, 2958465.0 + 86399.6 * kSecond,
                            std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(PartsFromAutomationDate(date).has_value()) << date;
  }
  EXPECT_FALSE(AddSeconds(AutomationDateFromParts({9999, 12, 31, 23, 59, 59}), 1).has_value());
  EXPECT_FALSE(AddSeconds(AutomationDateFromParts({100, 1, 1, 0, 0, 0}), -1).has_value());
  EXPECT_FALSE(AddSeconds(std::numeric_limits<double>::quiet_NaN(), 0).has_value());
  EXPECT_FALSE(AddSeconds(0.0, std::numeric_limits<int64_t>::max()).has_value());
}

}  // namespace
}  // namespace orvane
