#include "hosts/cli/arguments.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

constexpr CommandName kCount = CommandName::kCount, kItem = CommandName::kItem,
                      kExportItem = CommandName::kExportItem, kExport = CommandName::kExport;

UsageError NoType(const std::string& word) {
  return {"'" + word +
              "' is no export type: use 1 (outlook-contacts), 2 (outlook-calendar) or 3 (address-book)",
          kCount};
}

UsageError NoIndex(const std::string& word) {
  return {"'" + word + "' is no item index: use a whole number; items count from 1", kItem};
}

Request Asking(CommandName command, int16_t type, void (*change)(Request&) = [](Request&) {}) {
  Request request;
  request.command = command;
  request.type = type;
  change(request);
  return request;
}

struct ArgumentsCase {
  std::vector<std::string> arguments;
  ParsedArguments expected;
};

TEST(ParseArgumentsTest, ReadsRequestsHelpAndUsageErrors) {
  const ArgumentsCase cases[] = {
      {{"count", "address-book"}, Asking(kCount, 3)},
      {{"count", "-32768"}, Asking(kCount, -32768)},
      {{"item", "3", "-1"}, Asking(kItem, 3, [](Request& r) { r.index = -1; })},
      {{"export-item", "3", "1", "cards/ada"},
       Asking(kExportItem, 3, [](Request& r) { r.index = 1; r.filename = "cards/ada"; })},
      {{"export", "3", "out", "--name", "card", "--log", "run.log", "--log-dir", "logs", "--combine"},
       Asking(kExport, 3, [](Request& r) {
         r.destination = "out"; r.name = "card"; r.log_name = "run.log"; r.log_dir = "logs";
         r.combine = true;
       })},
      {{"--json", "export", "--log=run.log", "3"},
       Asking(kExport, 3, [](Request& r) { r.log_name = "run.log"; r.json = true; })},
      {{"--address-book=a=b.json", "count", "3"}, Asking(kCount, 3, [](Request& r) { r.address_book = "a=b.json"; })},
      {{"export", "3", "--", "--odd-folder"}, Asking(kExport, 3, [](Request& r) { r.destination = "--odd-folder"; })},
      {{"export", "3", "--name", "-"}, Asking(kExport, 3, [](Request& r) { r.name = "-"; })},
      {{"--help"}, HelpRequest{}},
      {{"help", "export"}, HelpRequest{kExport}},
      {{"export-item", "nonsense", "-h"}, HelpRequest{kExportItem}},
      {{"frobnicate", "--help"}, HelpRequest{}},
      {{"count", "--version"}, VersionRequest{}},
      {{}, UsageError{"no command given", std::nullopt}},
      {{"--json"}, UsageError{"no command given", std::nullopt}},
      {{"frobnicate", "3"}, UsageError{"unknown command 'frobnicate'", std::nullopt}},
      {{"item", "3"}, UsageError{"too few arguments", kItem}},
      {{"export", "3", "out", "more"}, UsageError{"unexpected argument 'more'", kExport}},
      {{"export-item", "3", "1", "a", "b"}, UsageError{"unexpected argument 'b'", kExportItem}},
      {{"count", "contacts"}, NoType("contacts")},
      {{"count", "32768"}, NoType("32768")},
      {{"count", " 3"}, NoType(" 3")},
      {{"count", "Address-Book"}, NoType("Address-Book")},
      {{"item", "3", "1.5"}, NoIndex("1.5")},
      {{"item", "3", "+2"}, NoIndex("+2")},
      {{"count", "3", "-x"}, UsageError{"unknown option '-x'", std::nullopt}},
      {{"count", "3", "--address-book"}, UsageError{"--address-book needs a value", std::nullopt}},
      {{"count", "3", "--json=yes"}, UsageError{"--json takes no value", std::nullopt}},
      {{"count", "3", "--log", "run.log"}, UsageError{"--log is an option of export only", kCount}},
      {{"item", "3", "1", "--combine"}, UsageError{"--combine is an option of export only", kItem}},
  };
  for (const ArgumentsCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    EXPECT_EQ(ParseArguments(c.arguments), c.expected);
  }
}

}  // namespace
}  // namespace orvane::cli
