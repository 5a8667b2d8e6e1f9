#include "component/ascii_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace orvane {
namespace {

// Numbers below 10000 with at most four digits asked for take a short way;
// both ways must write the same.
TEST(AsciiText, AppendDigitsTable) {
  const struct { int64_t number; int width; std::u16string_view digits; } cases[] = {
      {0, 1, u"0"},        {0, 0, u"0"},          {9, 1, u"9"},          {7, 2, u"07"},
      {10, 1, u"10"},      {99, 2, u"99"},        {100, 2, u"100"},      {3, 4, u"0003"},
      {999, 4, u"0999"},   {1000, 1, u"1000"},    {9999, 4, u"9999"},    {10000, 4, u"10000"},
      {42, 5, u"00042"},   {12345, 6, u"012345"}, {-5, 2, u"-05"},       {-1, 1, u"-1"},
      {std::numeric_limits<int64_t>::min(), 1, u"-9223372036854775808"},
  };
  for (const auto& c : cases) {
    std::u16string text = u"x";
    AppendDigits(text, c.number, c.width);
    EXPECT_EQ(text, u"x" + std::u16string(c.digits)) << c.number << " width " << c.width;
  }
}

}  // namespace
}  // namespace orvane
