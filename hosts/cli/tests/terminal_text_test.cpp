#include "hosts/cli/terminal_text.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

struct OneLineCase {
  std::u16string text;
  std::string expected;
};

TEST(OneLineTextTest, KeepsEachTextOnOneHarmlessLine) {
  const OneLineCase cases[] = {
      {u"Ada Lovelace", "Ada Lovelace"},
      {u"Zoë Ångström", "Zoë Ångström"},
      {u"王小明", "王小明"},
      {u"two\r\nlines", "two lines"},
      {u"two\nlines\rhere", "two lines here"},
      {u"tab\there", "tab here"},
      {u"\x1b]0;owned\x07title", "?]0;owned?title"},
      {std::u16string(u"nul\0inside", 10), "nul?inside"},
      {u"del\x7f and csi\x9b", "del? and csi?"},
      {u"\U0001F600 face", "\U0001F600 face"},
      {u"", ""},
  };
  for (const OneLineCase& c : cases) EXPECT_EQ(OneLineText(c.text), c.expected) << c.expected;
}

struct ColumnsCase {
  std::string text;
  size_t columns;
};

TEST(ColumnsOfTest, CountsWideCharactersTwiceAndMarksNotAtAll) {
  const ColumnsCase cases[] = {
      {"", 0},
      {"Ada", 3},
      {"Zoë", 3},
      {"王小明", 6},
      {"e\xCC\x81", 1},     // e and a combining acute accent
      {"\xEF\xBC\xA1", 2},  // fullwidth A
      {"\xFF", 1},          // a byte that starts nothing counts as one
  };
  for (const ColumnsCase& c : cases) EXPECT_EQ(ColumnsOf(c.text), c.columns) << c.text;
}

struct FitCase {
  std::string text;
  size_t columns;
  std::string expected;
};

TEST(FitToColumnsTest, CutsAtWholeCharactersAndMarksTheCut) {
  const FitCase cases[] = {
      {"Ada Lovelace", 20, "Ada Lovelace"},
      {"Ada Lovelace", 12, "Ada Lovelace"},
      {"Ada Lovelace", 11, "Ada Love..."},
      {"Zoë Ångström", 7, "Zoë ..."},
      {"王小明王小明", 8, "王小..."},
      {"王小明王小明", 9, "王小明..."},
      {"Ada", 2, ".."},
      {"Ada", 0, ""},
  };
  for (const FitCase& c : cases) {
    const std::string fitted = FitToColumns(c.text, c.columns);
    EXPECT_EQ(fitted, c.expected) << c.text << " in " << c.columns;
    EXPECT_LE(ColumnsOf(fitted), c.columns);
  }
}

}  // namespace
}  // namespace orvane::cli
