#include "hosts/cli/paths.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

const std::string kHere = "/home/ada/work";

TEST(PathsTest, ResolvesPathsAndLogsAgainstTheCurrentDirectory) {
  // A trailing "/" stays: the component reads it as "this is a folder".
  EXPECT_EQ(AbsolutePath(".", kHere), "/home/ada/work/");
  EXPECT_EQ(AbsolutePath("../cards", kHere), "/home/ada/cards");
  EXPECT_EQ(AbsolutePath("/srv//cards/./x/../y", kHere), "/srv/cards/y");
  const struct {
    std::string log_name, log_dir;
    LogLocation expected;
  } cases[] = {
      {"run.log", "", {"/home/ada/work", "run.log"}},
      {"run.log", "/var/log/orvane/", {"/var/log/orvane", "run.log"}},
      {"b/run.log", "a", {"/home/ada/work/a/b", "run.log"}},
      {"/tmp/run.log", "ignored", {"/tmp", "run.log"}},
      {"logs/", "", {"/home/ada/work/logs", ""}},
  };
  for (const auto& c : cases) {
    const LogLocation log = LocateLog(c.log_name, c.log_dir, kHere);
    EXPECT_EQ(log.folder + "|" + log.name, c.expected.folder + "|" + c.expected.name)
        << c.log_name << " in " << c.log_dir;
  }
}

}  // namespace
}  // namespace orvane::cli
