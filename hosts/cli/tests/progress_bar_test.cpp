#include "hosts/cli/progress_bar.h"

#include <gtest/gtest.h>

#include <sstream>

#include "hosts/cli/console.h"

namespace orvane::cli {
namespace {

TEST(ProgressLineTest, ShowsBarPercentCountsAndTextWithinTheColumns) {
  const struct {
    int16_t total, current;
    std::string text;
    size_t columns;
    std::string expected;
  } cases[] = {
      {20, 7, "Ada Lovelace", 80, "[#######-------------]  35%  7/20  Ada Lovelace"},
      {3, 0, "Contact:", 80, "[--------------------]   0%  0/3  Contact:"},
      {3, 4, "", 80, "[####################] 100%  4/3"},
      {0, 0, "No Contacts", 80, "0  No Contacts"},
      {-2, 5, "odd", 80, "5  odd"},
      {20, 7, "Ada Lovelace", 40, "7/20  Ada Lovelace"},
      {20, 7, "Ada Lovelace", 15, "7/20  Ada L..."},
      {20, 7, "A name much too long for the line", 50,
       "[#######-------------]  35%  7/20  A name much..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressLine(c.total, c.current, c.text, c.columns), c.expected) << c.expected;
  }
}

// A progress bar on a string, 60 columns wide, with a clock the test moves.
struct BarOnString {
  std::ostringstream terminal;
  std::chrono::steady_clock::time_point now{};
  std::unique_ptr<ProgressBar> bar = std::make_unique<ProgressBar>(
      terminal, [] { return size_t{60}; }, [this] { return now; }, std::chrono::milliseconds(50));

  void Advance(int milliseconds) { now += std::chrono::milliseconds(milliseconds); }
  std::string Take() {
    std::string text = terminal.str();
    terminal.str("");
    return text;
  }
};

TEST(ProgressBarTest, RedrawsInPlaceAtMostOncePerIntervalButAlwaysTheLastItem) {
  BarOnString s;
  s.bar->Update(3, 0, "Contact:");
  EXPECT_EQ(s.Take(), "\r\x1b[K[--------------------]   0%  0/3  Contact:");
  s.Advance(10);
  s.bar->Update(3, 1, "Ada");
  EXPECT_EQ(s.Take(), "");
  s.Advance(40);
  s.bar->Update(3, 2, "Bob");
  EXPECT_EQ(s.Take(), "\r\x1b[K[#############-------]  66%  2/3  Bob");
  s.Advance(1);
  s.bar->Update(3, 3, "Cy");
  EXPECT_EQ(s.Take(), "\r\x1b[K[####################] 100%  3/3  Cy");
}

TEST(ProgressBarTest, HidesForAMessageAndComesBackWithTheLatestState) {
  BarOnString s;
  s.bar->Update(4, 1, "Ada");
  s.bar->Update(4, 2, "Bob");  // too soon to draw, but remembered
  s.Take();
  s.bar->Hide();
  EXPECT_EQ(s.Take(), "\r\x1b[K");
  s.bar->Restore();
  EXPECT_EQ(s.Take(), "\r\x1b[K[##########----------]  50%  2/4  Bob");
}

TEST(ConsoleTest, WritesLinesAroundTheBarAndDropsItAtTheEnd) {
  BarOnString s;
  Console console(s.terminal, std::move(s.bar));
  console.Progress(2, 1, "Ada");
  console.Say("error: Permission denied");
  console.EndProgress();
  console.Progress(2, 2, "Bob");
  console.Say("error 70: Permission denied");
  EXPECT_EQ(s.Take(),
            "\r\x1b[K[##########----------]  50%  1/2  Ada"
            "\r\x1b[Korvane: error: Permission denied\n"
            "\r\x1b[K[##########----------]  50%  1/2  Ada"
            "\r\x1b[K"
            "orvane: error 70: Permission denied\n");
}

}  // namespace
}  // namespace orvane::cli
