#include "hosts/cli/export_type_names.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

struct TypeCase {
  std::string text;
  std::optional<int16_t> expected;
};

TEST(ExportTypeFromTextTest, TakesTheNamesAndAnyNumberOfSixteenBits) {
  const TypeCase cases[] = {
      {"1", 1},
      {"2", 2},
      {"3", 3},
      {"outlook-contacts", 1},
      {"outlook-calendar", 2},
      {"address-book", 3},
      {"0", 0},
      {"4", 4},
      {"-1", -1},
      {"32767", 32767},
      {"-32768", -32768},
      {"32768", std::nullopt},
      {"-32769", std::nullopt},
      {"", std::nullopt},
      {"3 ", std::nullopt},
      {" 3", std::nullopt},
      {"+3", std::nullopt},
      {"0x3", std::nullopt},
      {"Address-Book", std::nullopt},
      {"address_book", std::nullopt},
      {"contacts", std::nullopt},
  };
  for (const TypeCase& c : cases) {
    EXPECT_EQ(ExportTypeFromText(c.text), c.expected) << "'" << c.text << "'";
  }
}

struct NameCase {
  int16_t type;
  std::string name;
};

TEST(ExportTypeNameTest, NamesOnlyTheTypesThatHaveASource) {
  const NameCase cases[] = {
      {1, "outlook-contacts"},
      {2, "outlook-calendar"},
      {3, "address-book"},
      {0, ""},
      {4, ""},
      {-3, ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(ExportTypeName(c.type), c.name) << c.type;
    EXPECT_EQ(IsKnownExportType(c.type), !c.name.empty()) << c.type;
  }
}

}  // namespace
}  // namespace orvane::cli
