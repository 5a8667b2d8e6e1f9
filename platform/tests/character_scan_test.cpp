#include "platform/character_scan.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ascii_text.h"

namespace orvane {
namespace {

// The scans read eight characters at once, and the last eight again; what
// they find must not depend on where in those eight, or in which pass, it lies.
// Every length up to three times eight, with the character at every place.

TEST(CharacterScan, HoldsLineBreakAtEveryPlace) {
  for (size_t length = 0; length <= 24; ++length) {
    const std::u16string plain(length, u'a');
    EXPECT_FALSE(HoldsLineBreak(plain)) << length;
    for (size_t at = 0; at < length; ++at) {
      for (const char16_t line_break : {u'\r', u'\n'}) {
        std::u16string text = plain;
        text[at] = line_break;
        EXPECT_TRUE(HoldsLineBreak(text)) << length << " " << at;
      }
      // Characters that share bits with CR and LF are not breaks.
      for (const char16_t other : {u'\t', u'\x0B', u'\x0C', u'\x0E', u'\u010D', u'\u0D0A'}) {
        std::u16string text = plain;
        text[at] = other;
        EXPECT_FALSE(HoldsLineBreak(text)) << length << " " << at;
      }
    }
  }
}

TEST(CharacterScan, HoldsLineBreakLooksOnlyInsideTheView) {
  const std::u16string text = u"abcdefgh\r\nijklmnop";
  EXPECT_FALSE(HoldsLineBreak(std::u16string_view(text).substr(0, 8)));
  EXPECT_FALSE(HoldsLineBreak(std::u16string_view(text).substr(10)));
  EXPECT_TRUE(HoldsLineBreak(std::u16string_view(text).substr(3, 6)));
}

character_scan::LaneMask NotLetters(character_scan::Lanes c) {
  return (c < character_scan::Splat(u'a')) | (c > character_scan::Splat(u'z'));
}

TEST(CharacterScan, EndOfRunStopsAtTheFirstFailingCharacter) {
  for (size_t length = 0; length <= 24; ++length) {
    const std::u16string letters(length, u'q');
    for (size_t start = 0; start <= length; ++start) {
      EXPECT_EQ(EndOfRun(letters, start, NotLetters), length) << length << " " << start;
      for (size_t at = start; at < length; ++at) {
        std::u16string text = letters;
        text[at] = u'=';
        EXPECT_EQ(EndOfRun(text, start, NotLetters), at) << length << " " << start;
      }
    }
  }
}

TEST(CharacterScan, EndOfRunIgnoresWhatStandsBeforeTheStart) {
  // A failing character before `start` lies inside the eight read (the last
  // eight again, or all of a shorter text); the first one from `start` on
  // still ends the run.
  for (const std::u16string text : {u"=abcd", u"=abcdefghijk"}) {
    for (size_t start = 1; start <= text.size(); ++start) {
      EXPECT_EQ(EndOfRun(text, start, NotLetters), text.size()) << start;
      std::u16string just_before = text;
      just_before[start - 1] = u'=';
      EXPECT_EQ(EndOfRun(just_before, start, NotLetters), text.size()) << start;
      for (size_t at = start; at < text.size(); ++at) {
        std::u16string failing = text;
        failing[at] = failing[text.size() - 1] = u'=';
        EXPECT_EQ(EndOfRun(failing, start, NotLetters), at) << start << " " << at;
      }
    }
  }
}

TEST(AsciiText, AppendIfAsciiWidensOrLeavesTheTextAsItWas) {
  for (size_t length = 0; length <= 24; ++length) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) bytes += static_cast<char>(0x20 + (i * 7) % 0x5F);
    std::u16string out = u"kept";
    ASSERT_TRUE(AppendIfAscii(bytes, out)) << length;
    EXPECT_EQ(out, u"kept" + std::u16string(bytes.begin(), bytes.end())) << length;
    for (size_t at = 0; at < length; ++at) {
      for (const char high : {'\x80', '\xC3', '\xFF'}) {
        std::string mixed = bytes;
        mixed[at] = high;
        std::u16string unchanged = u"kept";
        EXPECT_FALSE(AppendIfAscii(mixed, unchanged)) << length << " " << at;
        EXPECT_EQ(unchanged, u"kept");
      }
    }
  }
}

TEST(AsciiText, AppendIfAsciiKeepsNulAndDelete) {
  std::u16string out;
  ASSERT_TRUE(AppendIfAscii(std::string_view("\0a\x7F\0b\0c\0d", 9), out));
  EXPECT_EQ(out, std::u16string_view(u"\0a\x7F\0b\0c\0d", 9));
}

}  // namespace
}  // namespace orvane
