#include "hosts/cli/iso_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/automation_date.h"

namespace orvane::cli {
namespace {

struct IsoCase {
  AutomationDate date;
  std::optional<std::string> expected;
};

TEST(IsoTextOfTest, WritesTheLocalDateAndTimeToTheSecond) {
  const IsoCase cases[] = {
      {0.0, "1899-12-30T00:00:00"},
      {AutomationDateFromParts({2005, 3, 1, 12, 0, 0}), "2005-03-01T12:00:00"},
      {AutomationDateFromParts({2000, 2, 29, 23, 59, 59}), "2000-02-29T23:59:59"},
      {AutomationDateFromParts({1999, 12, 31, 16, 0, 0}), "1999-12-31T16:00:00"},
      {-1.25, "1899-12-29T06:00:00"},
      {AutomationDateFromParts({100, 1, 1, 0, 0, 0}), "0100-01-01T00:00:00"},
      {AutomationDateFromParts({9999, 12, 31, 23, 59, 59}), "9999-12-31T23:59:59"},
      // Half a second and more rounds up, across midnight too.
      {AutomationDateFromParts({2005, 3, 1, 23, 59, 59}) + 0.6 / 86400, "2005-03-02T00:00:00"},
      {3e6, std::nullopt},
      {-7e5, std::nullopt},
      {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
      {std::numeric_limits<double>::infinity(), std::nullopt},
  };
  for (const IsoCase& c : cases) {
    EXPECT_EQ(IsoTextOf(c.date), c.expected) << c.date;
  }
}

}  // namespace
}  // namespace orvane::cli
