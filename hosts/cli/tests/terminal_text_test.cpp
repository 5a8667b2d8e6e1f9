#include "hosts/cli/terminal_text.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(OneLineTextTest, KeepsEachTextOnOneHarmlessLine) {
  const struct {
    std::u16string text;
    std::string expected;
  } cases[] = {
      {u"Zoë 王小明 \U0001F600", "Zoë 王小明 \U0001F600"},
      {u"two\r\nlines", "two lines"},
      {u"two\nlines\rhere\tand", "two lines here and"},
      {u"\x1b]0;owned\x07title", "?]0;owned?title"},
      {std::u16string(u"nul\0inside", 10), "nul?inside"},
      {u"del\x7f and csi\x9b", "del? and csi?"},
  };
  for (const auto& c : cases) EXPECT_EQ(OneLineText(c.text), c.expected) << c.expected;
}

TEST(FitToColumnsTest, CutsAtWholeCharactersOfTheirWidthAndMarksTheCut) {
  const struct {
    std::string text;
    size_t columns;
    std::string expected;
  } cases[] = {
      {"Ada Lovelace", 12, "Ada Lovelace"},
      {"Ada Lovelace", 11, "Ada Love..."},
      {"Zoë Ångström", 7, "Zoë ..."},
      {"王小明王小明", 8, "王小..."},
      {"王小明王小明", 9, "王小明..."},
      {"\xEF\xBC\xA1\xEF\xBC\xA1", 4, "\xEF\xBC\xA1\xEF\xBC\xA1"},  // fullwidth A, two each
      {"Re\xCC\x81sume\xCC\x81 long", 9, "Re\xCC\x81sume\xCC\x81..."},  // accents take none
      {"\xFF\xFE abc", 5, "\xFF\xFE..."},  // bytes that start nothing count one each
      {"Ada", 2, ".."},
      {"Ada", 0, ""},
  };
  for (const auto& c : cases) {
    const std::string fitted = FitToColumns(c.text, c.columns);
    EXPECT_EQ(fitted, c.expected) << c.text << " in " << c.columns;
    EXPECT_LE(ColumnsOf(fitted), c.columns) << c.text << " in " << c.columns;
  }
}

}  // namespace
}  // namespace orvane::cli
