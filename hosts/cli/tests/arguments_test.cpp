#include "hosts/cli/arguments.h"

#include <gtest/gtest.h>

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
      {{"help", "export"}, HelpRequest{kExport}},
      {{"export-item", "nonsense", "-h"}, HelpRequest{kExportItem}},
      {{"count", "--version"}, VersionRequest{}},
      {{"frobnicate", "3"}, UsageError{"unknown command 'frobnicate'", std::nullopt}},
      {{"item", "3"}, UsageError{"too few arguments", kItem}},
      {{"export", "3", "out", "more"}, UsageError{"unexpected argument 'more'", kExport}},
      {{"count", "32768"},
       UsageError{"'32768' is no export type: use 1 (outlook-contacts), 2 (outlook-calendar) or "
                  "3 (address-book)",
                  kCount}},
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
