#include "hosts/cli/iso_time.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/automation_date.h"

namespace orvane::cli {
namespace {

TEST(IsoTextOfTest, WritesTheDateAndTimeToTheSecondOrNothing) {
  const struct {
    AutomationDate date;
    std::optional<std::string> expected;
  } cases[] = {
      {0.0, "1899-12-30T00:00:00"},
      {AutomationDateFromParts({2000, 2, 29, 23, 59, 59}), "2000-02-29T23:59:59"},
      {-1.25, "1899-12-29T06:00:00"},  // before 1899-12-30 the fraction still counts forward
      {AutomationDateFromParts({100, 1, 1, 0, 0, 0}), "0100-01-01T00:00:00"},
      {AutomationDateFromParts({9999, 12, 31, 23, 59, 59}), "9999-12-31T23:59:59"},
      {AutomationDateFromParts({2005, 3, 1, 23, 59, 59}) + 0.6 / 86400, "2005-03-02T00:00:00"},
      {3e6, std::nullopt},
      {-7e5, std::nullopt},
      {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
      {std::numeric_limits<double>::infinity(), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(IsoTextOf(c.date), c.expected) << c.date;
}

}  // namespace
}  // namespace orvane::cli
