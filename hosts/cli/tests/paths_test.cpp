#include "hosts/cli/paths.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

struct PathCase {
  std::string path;
  std::string expected;
};

TEST(AbsolutePathTest, ResolvesRelativePathsAgainstTheCurrentDirectory) {
  const std::string here = "/home/ada/work";
  const PathCase cases[] = {
      {"out", "/home/ada/work/out"},
      {"out/", "/home/ada/work/out/"},
      {".", "/home/ada/work/"},
      {"./cards/a", "/home/ada/work/cards/a"},
      {"../cards", "/home/ada/cards"},
      {"/srv/cards", "/srv/cards"},
      {"/srv//cards/./x/../y", "/srv/cards/y"},
      {"Zoë's cards", "/home/ada/work/Zoë's cards"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(AbsolutePath(c.path, here), c.expected) << c.path;
}

struct LogCase {
  std::string log_name;
  std::string log_dir;
  LogLocation expected;
};

TEST(LocateLogTest, SplitsTheLogIntoFolderAndNameFromTheRightBase) {
  const std::string here = "/home/ada/work";
  const LogCase cases[] = {
      {"run.log", "", {"/home/ada/work", "run.log"}},
      {"run.log", "logs", {"/home/ada/work/logs", "run.log"}},
      {"run.log", "/var/log/orvane/", {"/var/log/orvane", "run.log"}},
      {"logs/run.log", "", {"/home/ada/work/logs", "run.log"}},
      {"b/run.log", "a", {"/home/ada/work/a/b", "run.log"}},
      {"/tmp/run.log", "ignored", {"/tmp", "run.log"}},
      {"logs/", "", {"/home/ada/work/logs", ""}},
  };
  for (const LogCase& c : cases) {
    EXPECT_EQ(LocateLog(c.log_name, c.log_dir, here), c.expected)
        << c.log_name << " in " << c.log_dir;
  }
}

}  // namespace
}  // namespace orvane::cli
