#include "hosts/cli/arguments.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

Request Make(CommandName command, int16_t type) {
  Request request;
  request.command = command;
  request.type = type;
  return request;
}

Request With(Request request, void (*change)(Request&)) {
  change(request);
  return request;
}

struct RequestCase {
  std::vector<std::string> arguments;
  Request expected;
};

TEST(ParseArgumentsTest, ReadsEachCommandWithItsOperandsAndOptions) {
  const RequestCase cases[] = {
      {{"count", "3"}, Make(CommandName::kCount, 3)},
      {{"count", "address-book"}, Make(CommandName::kCount, 3)},
      {{"count", "outlook-contacts"}, Make(CommandName::kCount, 1)},
      {{"count", "outlook-calendar"}, Make(CommandName::kCount, 2)},
      {{"count", "7"}, Make(CommandName::kCount, 7)},
      {{"count", "-4"}, Make(CommandName::kCount, -4)},
      {{"item", "3", "12"}, With(Make(CommandName::kItem, 3), [](Request& r) { r.index = 12; })},
      {{"item", "3", "-1"}, With(Make(CommandName::kItem, 3), [](Request& r) { r.index = -1; })},
      {{"export-item", "2", "5"},
       With(Make(CommandName::kExportItem, 2), [](Request& r) { r.index = 5; })},
      {{"export-item", "3", "1", "cards/ada"},
       With(Make(CommandName::kExportItem, 3),
            [](Request& r) {
              r.index = 1;
              r.filename = "cards/ada";
            })},
      {{"export", "3"}, Make(CommandName::kExport, 3)},
      {{"export", "3", "out"},
       With(Make(CommandName::kExport, 3), [](Request& r) { r.destination = "out"; })},
      {{"export", "3", "out", "--name", "card", "--log", "run.log", "--log-dir", "logs",
        "--combine"},
       With(Make(CommandName::kExport, 3),
            [](Request& r) {
              r.destination = "out";
              r.name = "card";
              r.log_name = "run.log";
              r.log_dir = "logs";
              r.combine = true;
            })},
      {{"--json", "export", "--log=run.log", "3"},
       With(Make(CommandName::kExport, 3),
            [](Request& r) {
              r.json = true;
              r.log_name = "run.log";
            })},
      {{"count", "3", "--address-book", "book.json"},
       With(Make(CommandName::kCount, 3), [](Request& r) { r.address_book = "book.json"; })},
      {{"--address-book=a=b.json", "count", "3"},
       With(Make(CommandName::kCount, 3), [](Request& r) { r.address_book = "a=b.json"; })},
      {{"count", "3", "--json"},
       With(Make(CommandName::kCount, 3), [](Request& r) { r.json = true; })},
      {{"export", "3", "--", "--odd-folder"},
       With(Make(CommandName::kExport, 3), [](Request& r) { r.destination = "--odd-folder"; })},
      {{"export", "3", "--name", "-"},
       With(Make(CommandName::kExport, 3), [](Request& r) { r.name = "-"; })},
  };
  for (const RequestCase& c : cases) {
    const ParsedArguments parsed = ParseArguments(c.arguments);
    ASSERT_TRUE(std::holds_alternative<Request>(parsed)) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(std::get<Request>(parsed), c.expected) << ::testing::PrintToString(c.arguments);
  }
}

struct OtherCase {
  std::vector<std::string> arguments;
  ParsedArguments expected;
};

TEST(ParseArgumentsTest, AnswersHelpAndVersionBeforeCheckingTheRest) {
  const OtherCase cases[] = {
      {{"--help"}, HelpRequest{}},
      {{"-h"}, HelpRequest{}},
      {{"help"}, HelpRequest{}},
      {{"help", "export"}, HelpRequest{CommandName::kExport}},
      {{"export", "--help"}, HelpRequest{CommandName::kExport}},
      {{"item", "-h"}, HelpRequest{CommandName::kItem}},
      {{"export-item", "nonsense", "--help"}, HelpRequest{CommandName::kExportItem}},
      {{"frobnicate", "--help"}, HelpRequest{}},
      {{"--version"}, VersionRequest{}},
      {{"count", "--version"}, VersionRequest{}},
  };
  for (const OtherCase& c : cases) {
    EXPECT_EQ(ParseArguments(c.arguments), c.expected) << ::testing::PrintToString(c.arguments);
  }
}

TEST(ParseArgumentsTest, RefusesWhatItCannotRunAndSaysWhy) {
  const OtherCase cases[] = {
      {{}, UsageError{"no command given", std::nullopt}},
      {{"--json"}, UsageError{"no command given", std::nullopt}},
      {{"frobnicate", "3"}, UsageError{"unknown command 'frobnicate'", std::nullopt}},
      {{"count"}, UsageError{"too few arguments", CommandName::kCount}},
      {{"item", "3"}, UsageError{"too few arguments", CommandName::kItem}},
      {{"count", "3", "4"}, UsageError{"unexpected argument '4'", CommandName::kCount}},
      {{"export", "3", "out", "more"},
       UsageError{"unexpected argument 'more'", CommandName::kExport}},
      {{"export-item", "3", "1", "a", "b"},
       UsageError{"unexpected argument 'b'", CommandName::kExportItem}},
      {{"count", "contacts"},
       UsageError{"'contacts' is no export type: use 1 (outlook-contacts), 2 (outlook-calendar) "
                  "or 3 (address-book)",
                  CommandName::kCount}},
      {{"count", "40000"},
       UsageError{"'40000' is no export type: use 1 (outlook-contacts), 2 (outlook-calendar) "
                  "or 3 (address-book)",
                  CommandName::kCount}},
      {{"item", "3", "first"},
       UsageError{"'first' is no item index: use a whole number; items count from 1",
                  CommandName::kItem}},
      {{"item", "3", "1.5"},
       UsageError{"'1.5' is no item index: use a whole number; items count from 1",
                  CommandName::kItem}},
      {{"item", "3", "+2"},
       UsageError{"'+2' is no item index: use a whole number; items count from 1",
                  CommandName::kItem}},
      {{"count", "3", "--frob"}, UsageError{"unknown option '--frob'", std::nullopt}},
      {{"count", "3", "-x"}, UsageError{"unknown option '-x'", std::nullopt}},
      {{"count", "3", "--address-book"}, UsageError{"--address-book needs a value", std::nullopt}},
      {{"count", "3", "--json=yes"}, UsageError{"--json takes no value", std::nullopt}},
      {{"count", "3", "--log", "run.log"},
       UsageError{"--log is an option of export only", CommandName::kCount}},
      {{"item", "3", "1", "--combine"},
       UsageError{"--combine is an option of export only", CommandName::kItem}},
      {{"export-item", "3", "1", "--name", "x"},
       UsageError{"--name is an option of export only", CommandName::kExportItem}},
  };
  for (const OtherCase& c : cases) {
    EXPECT_EQ(ParseArguments(c.arguments), c.expected) << ::testing::PrintToString(c.arguments);
  }
}

TEST(CommandTextTest, NamesAndCommandsGoBothWays) {
  for (const CommandName command :
       {CommandName::kCount, CommandName::kItem, CommandName::kExportItem, CommandName::kExport}) {
    EXPECT_EQ(CommandFromText(CommandText(command)), command);
  }
  EXPECT_EQ(CommandFromText("Export"), std::nullopt);
}

}  // namespace
}  // namespace orvane::cli
