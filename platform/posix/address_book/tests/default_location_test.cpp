#include "platform/posix/address_book/default_location.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace orvane::posix {
namespace {

struct LocationCase {
  std::map<std::string, std::string> environment;
  std::string expected;
};

const LocationCase kLocationCases[] = {
    {{{"ORVANE_ADDRESS_BOOK", "/books/mine.json"}, {"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}},
     "/books/mine.json"},
    {{{"ORVANE_ADDRESS_BOOK", "relative/book.json"}, {"HOME", "/home/u"}}, "relative/book.json"},
    {{{"ORVANE_ADDRESS_BOOK", ""}, {"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}},
     "/data/orvane/address-book.json"},
    {{{"XDG_DATA_HOME", "/data/"}}, "/data/orvane/address-book.json"},
    {{{"XDG_DATA_HOME", "/"}}, "/orvane/address-book.json"},
    {{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},
     "/home/u/.local/share/orvane/address-book.json"},
    {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/orvane/address-book.json"},
    {{{"HOME", "/home/u/"}}, "/home/u/.local/share/orvane/address-book.json"},
    {{{"HOME", "/"}}, "/.local/share/orvane/address-book.json"},
    {{{"HOME", ""}}, ""},
    {{}, ""},
};

class DefaultLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(DefaultLocationTest, FollowsTheEnvironment) {
  const auto& variables = GetParam().environment;
  const EnvironmentReader environment = [&](const std::string& name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
  EXPECT_EQ(DefaultAddressBookFile(environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Environments, DefaultLocationTest, ::testing::ValuesIn(kLocationCases));

}  // namespace
}  // namespace orvane::posix
