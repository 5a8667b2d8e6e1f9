#include "hosts/cli/arguments.h"

#include <gtest/gtest.h>

#include "hosts/cli/code_page_choice.h"
#include "hosts/cli/paths.h"

namespace orvane::cli {
namespace {

using enum CommandName;

Request Asking(CommandName command, int16_t type, void (*change)(Request&) = [](Request&) {}) {
  Request request;
  request.command = command;
  request.type = type;
  change(request);
  return request;
}

TEST(ParseArgumentsTest, ReadsRequestsHelpAndUsageErrors) {
  const struct {
    std::vector<std::string> arguments;
    ParsedArguments expected;
  } cases[] = {
      {{"item", "3", "-1"}, Asking(kItem, 3, [](Request& r) { r.index = -1; })},
      {{"--json", "export", "--address-book=a=b.json", "3"},
       Asking(kExport, 3, [](Request& r) { r.address_book = "a=b.json"; r.json = true; })},
      {{"count", "1", "--mail-store", "store.json"},
       Asking(kCount, 1, [](Request& r) { r.mail_store = "store.json"; })},
      {{"--mail-store=m.json", "export-item", "2", "4", "--address-book", "b.json"},
       Asking(kExportItem, 2, [](Request& r) {
         r.index = 4;
         r.mail_store = "m.json";
         r.address_book = "b.json";
       })},
      {{"export", "3", "--", "--odd-folder"},
       Asking(kExport, 3, [](Request& r) { r.destination = "--odd-folder"; })},
      {{"export", "3", "-"}, Asking(kExport, 3, [](Request& r) { r.destination = "-"; })},
      {{"export-item", "3", "1", "-"},
       Asking(kExportItem, 3, [](Request& r) { r.index = 1; r.filename = "-"; })},
      {{"--code-page=950", "list", "address-book"},
       Asking(kList, 3, [](Request& r) { r.code_page = 950; })},
      {{"item", "1", "2", "--code-page", "1252"},
       Asking(kItem, 1, [](Request& r) { r.index = 2; r.code_page = 1252; })},
      {{"help", "export"}, HelpRequest{kExport}},
      {{"export-item", "nonsense", "-h"}, HelpRequest{kExportItem}},
      {{"count", "--version"}, VersionRequest{}},
      {{"frobnicate", "3"}, UsageError{"unknown command 'frobnicate'", std::nullopt}},
      {{"count"}, UsageError{"too few arguments", kCount}},
      {{"list"}, UsageError{"too few arguments", kList}},
      {{"item", "3"}, UsageError{"too few arguments", kItem}},
      {{"export-item", "3"}, UsageError{"too few arguments", kExportItem}},
      {{"export"}, UsageError{"too few arguments", kExport}},
      {{"item", "3", "-40000"},
       UsageError{"'-40000' is no item index: use a whole number; items count from 1", kItem}},
      {{"count", "3", "--code-page", "9x"},
       UsageError{"'9x' is no code page: use a number such as 950 or 1252", kCount}},
      {{"export", "3", "out", "more"}, UsageError{"unexpected argument 'more'", kExport}},
      {{"count", "3", "-x"}, UsageError{"unknown option '-x'", std::nullopt}},
      {{"count", "3", "--address-book"}, UsageError{"--address-book needs a value", std::nullopt}},
      {{"item", "1", "2", "--mail-store"}, UsageError{"--mail-store needs a value", std::nullopt}},
      {{"count", "3", "--json=yes"}, UsageError{"--json takes no value", std::nullopt}},
      {{"count", "3", "--log", "run.log"}, UsageError{"--log is an option of export only", kCount}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    EXPECT_EQ(ParseArguments(c.arguments), c.expected);
  }
}

// A number outside 16 bits is no export type, whatever its size or sign.
TEST(ParseArgumentsTest, RefusesEveryNumberOutsideSixteenBitsAlike) {
  for (const std::string word : {"32768", "-32769", "99999999999", "-99999999999"}) {
    EXPECT_EQ(ParseArguments({"count", word}),
              ParsedArguments(UsageError{"'" + word +
                                             "' is no export type: use 1 (outlook-contacts), 2 "
                                             "(outlook-calendar) or 3 (address-book)",
                                         kCount}));
  }
}

TEST(CodePageProblemTest, TakesCodePagesThatKeepAsciiAndNamesTheOthers) {
  const struct {
    uint32_t number;
    std::optional<std::string> problem;
  } cases[] = {
      {950, std::nullopt},
      {936, std::nullopt},
      {1252, std::nullopt},
      {54936, std::nullopt},
      {65001, std::nullopt},
      {28605, std::nullopt},
      {500, "code page 500 cannot be used: it does not keep ASCII characters as they are"},
      {1200, "unknown code page 1200: this machine has no converter for it"},
      {0, "unknown code page 0: this machine has no converter for it"},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageProblem(c.number), c.problem) << c.number;
}

TEST(LocateLogTest, PlacesTheLogInItsFolderUnlessItsNameIsAbsolute) {
  const struct {
    std::string log_name, log_dir;
    LogLocation expected;
  } cases[] = {
      {"b/run.log", "a", {"/home/ada/work/a/b", "run.log"}},
      {"/tmp//x/../run.log", "ignored", {"/tmp", "run.log"}},
  };
  for (const auto& c : cases) {
    const LogLocation log = LocateLog(c.log_name, c.log_dir, "/home/ada/work");
    EXPECT_EQ(log.folder + "|" + log.name, c.expected.folder + "|" + c.expected.name)
        << c.log_name << " in " << c.log_dir;
  }
}

}  // namespace
}  // namespace orvane::cli
