#include <gtest/gtest.h>

#include <sstream>

#include "hosts/cli/console.h"
#include "hosts/cli/progress_bar.h"
#include "hosts/cli/terminal_text.h"

namespace orvane::cli {
namespace {

TEST(OneLineTextTest, KeepsEachTextOnOneHarmlessLine) {
  const struct {
    std::u16string text;
    std::string expected;
  } cases[] = {
      {u"Zoë 王小明 \U0001F600", "Zoë 王小明 \U0001F600"},
      {u"two\r\nlines\nand\rmore\there", "two lines and more here"},
      {u"\x1b]0;owned\x07title del\x7f csi\x9b", "?]0;owned?title del? csi?"},
  };
  for (const auto& c : cases) EXPECT_EQ(OneLineText(c.text), c.expected) << c.expected;
}

TEST(FitToColumnsTest, CutsAtWholeCharactersOfTheirWidthAndMarksTheCut) {
  const struct {
    std::string text;
    size_t columns;
    std::string expected;
  } cases[] = {
      {"Zoë Ångström", 7, "Zoë ..."},
      {"王小明王小明", 8, "王小..."},
      {"Re\xCC\x81sume\xCC\x81 long", 9, "Re\xCC\x81sume\xCC\x81..."},  // accents take none
      {"\xFF\xFE abc", 5, "\xFF\xFE..."},  // bytes that start nothing count one each
      {"Ada", 2, ".."},
  };
  for (const auto& c : cases) {
    const std::string fitted = FitToColumns(c.text, c.columns);
    EXPECT_EQ(fitted, c.expected) << c.text << " in " << c.columns;
    EXPECT_LE(ColumnsOf(fitted), c.columns) << c.text << " in " << c.columns;
  }
}

TEST(ProgressLineTest, ShowsBarPercentCountsAndTextWithinTheColumns) {
  const struct {
    int16_t total, current;
    std::string text;
    size_t columns;
    std::string expected;
  } cases[] = {
      {20, 7, "Ada Lovelace", 80, "[#######-------------]  35%  7/20  Ada Lovelace"},
      {3, 4, "", 80, "[####################] 100%  4/3"},
      {0, 0, "No Contacts", 80, "0  No Contacts"},
      {20, 7, "Ada Lovelace", 40, "7/20  Ada Lovelace"},
      {20, 7, "A name much too long for the line", 50,
       "[#######-------------]  35%  7/20  A name much..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressLine(c.total, c.current, c.text, c.columns), c.expected) << c.expected;
  }
}

TEST(ConsoleTest, DrawsTheBarAtMostOncePerIntervalAndWritesLinesAroundIt) {
  using namespace std::chrono_literals;
  std::ostringstream terminal;
  std::chrono::steady_clock::time_point now{};
  Console console(terminal, std::make_unique<ProgressBar>(
                                terminal, [] { return size_t{60}; }, [&] { return now; }, 50ms));
  console.Progress(3, 0, "Contact:");
  now += 10ms;
  console.Progress(3, 1, "Ada");  // too soon to draw, but remembered
  console.Say("note: Ada");
  now += 40ms;
  console.Progress(3, 2, "Bob");
  console.Progress(3, 3, "Cy");  // too soon, but the last item is always drawn
  console.EndProgress();
  console.Progress(3, 3, "Cy");
  console.Say("error 70: Permission denied");
  EXPECT_EQ(terminal.str(),
            "\r\x1b[K[--------------------]   0%  0/3  Contact:"
            "\r\x1b[Korvane: note: Ada\n"
            "\r\x1b[K[######--------------]  33%  1/3  Ada"
            "\r\x1b[K[#############-------]  66%  2/3  Bob"
            "\r\x1b[K[####################] 100%  3/3  Cy"
            "\r\x1b[K"
            "orvane: error 70: Permission denied\n");
}

TEST(ProgressBarTest, ShowsNothingUntilTheRunHasLastedTheDelay) {
  using namespace std::chrono_literals;
  std::ostringstream terminal;
  std::chrono::steady_clock::time_point now{};
  ProgressBar bar(terminal, [] { return size_t{40}; }, [&] { return now; }, 50ms, 500ms);
  bar.Update(3, 1, "Ada");
  now += 499ms;
  bar.Update(3, 3, "Cy");  // even the last item of a short run stays unshown
  EXPECT_EQ(terminal.str(), "");
  bar.Update(4, 3, "Cy");
  now += 1ms;
  bar.Update(4, 4, "Dee");
  EXPECT_EQ(terminal.str(), "\r\x1b[K4/4  Dee");
}

}  // namespace
}  // namespace orvane::cli
