#include "platform/utf_character.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

struct Expected {
  uint32_t code;
  size_t length;
  bool cut_off;
};

// What a reader finds in `text` at `at`.
template <typename Text>
struct ReadCase {
  Text text;
  size_t at;
  Expected expected;
};

template <typename Text, size_t kCount, typename Reader>
void ExpectReads(const ReadCase<Text> (&cases)[kCount], Reader reader) {
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " at " + std::to_string(c.at));
    const UtfCharacter read = reader(c.text, c.at);
    EXPECT_EQ(read.code, c.expected.code);
    EXPECT_EQ(read.length, c.expected.length);
    EXPECT_EQ(read.cut_off, c.expected.cut_off);
  }
}

constexpr Expected kInvalid{0, 0, false};
constexpr Expected kCutOff{0, 0, true};

TEST(Utf8CharacterAt, TellsCutOffFromInvalid) {
  const ReadCase<std::string> cases[] = {
      {"A", 0, {0x41, 1, false}},
      {"a\xC3\xA9", 1, {0xE9, 2, false}},
      {"\xE2\x82\xAC", 0, {0x20AC, 3, false}},
      {"\xF0\x9F\x98\x80", 0, {0x1F600, 4, false}},
      // Cut off after each byte of each length, also where the reading starts later.
      {"\xC3", 0, kCutOff},
      {"\xE2", 0, kCutOff},
      {"\xE2\x82", 0, kCutOff},
      {"\xF0", 0, kCutOff},
      {"\xF0\x9F", 0, kCutOff},
      {"\xF0\x9F\x98", 0, kCutOff},
      {"ab\xF0\x9F\x98", 2, kCutOff},
      // A wrong byte before the end is invalid, at whichever place it stands.
      {"\xC3\x41", 0, kInvalid},
      {"\xE2\x41\x80", 0, kInvalid},
      {"\xE2\x82\x41", 0, kInvalid},
      {"\xF0\x9F\x98\x41", 0, kInvalid},
      {"\x80", 0, kInvalid},
      {"\xBF", 0, kInvalid},
      {"\xF5\x80\x80\x80", 0, kInvalid},
      {"\xFF", 0, kInvalid},
      // Overlong forms, refused at the second byte even when cut off after it.
      {"\xC0\x80", 0, kInvalid},
      {"\xC1\xBF", 0, kInvalid},
      {"\xC0", 0, kInvalid},
      {"\xC2\x80", 0, {0x80, 2, false}},
      {"\xE0\x9F\xBF", 0, kInvalid},
      {"\xE0\x9F", 0, kInvalid},
      {"\xE0\xA0\x80", 0, {0x800, 3, false}},
      {"\xE0\xA0", 0, kCutOff},
      {"\xF0\x8F\xBF\xBF", 0, kInvalid},
      {"\xF0\x8F", 0, kInvalid},
      {"\xF0\x90\x80\x80", 0, {0x10000, 4, false}},
      // Surrogates written in UTF-8.
      {"\xED\xA0\x80", 0, kInvalid},
      {"\xED\xBF\xBF", 0, kInvalid},
      {"\xED\xA0", 0, kInvalid},
      {"\xED\x9F\xBF", 0, {0xD7FF, 3, false}},
      {"\xEE\x80\x80", 0, {0xE000, 3, false}},
      // Beyond U+10FFFF.
      {"\xF4\x90\x80\x80", 0, kInvalid},
      {"\xF4\x90", 0, kInvalid},
      {"\xF4\x8F\xBF\xBF", 0, {0x10FFFF, 4, false}},
      {"\xF4\x8F", 0, kCutOff},
  };
  ExpectReads(cases, Utf8CharacterAt);
}

TEST(Utf16CharacterAt, TellsCutOffFromInvalid) {
  const ReadCase<std::u16string> cases[] = {
      {u"A", 0, {0x41, 1, false}},
      {u"a\uD7FF", 1, {0xD7FF, 1, false}},
      {u"\uE000", 0, {0xE000, 1, false}},
      {u"\uFFFF", 0, {0xFFFF, 1, false}},
      {u"\U0001F600", 0, {0x1F600, 2, false}},
      {u"\U00010000", 0, {0x10000, 2, false}},
      {u"\U0010FFFF", 0, {0x10FFFF, 2, false}},
      {u"a\xD83D", 1, kCutOff},
      {u"\xD83D" u"a", 0, kInvalid},
      {u"\xD83D\xD83D", 0, kInvalid},
      {u"\xDE00", 0, kInvalid},
      {u"\xDE00\xD83D", 0, kInvalid},
  };
  ExpectReads(cases, Utf16CharacterAt);
}

TEST(UtfWriters, WriteTheShortestForms) {
  const struct {
    uint32_t code;
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {0x00, std::string(1, '\0'), std::u16string(1, u'\0')},
      {0x7F, "\x7F", u"\x7F"},
      {0x80, "\xC2\x80", u"\x80"},
      {0x7FF, "\xDF\xBF", u"\u07FF"},
      {0x800, "\xE0\xA0\x80", u"\u0800"},
      {0xFFFF, "\xEF\xBF\xBF", u"\uFFFF"},
      {0x10000, "\xF0\x90\x80\x80", u"\U00010000"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    char bytes[4];
    EXPECT_EQ(std::string(bytes, WriteUtf8(c.code, bytes)), c.utf8);
    char16_t units[2];
    EXPECT_EQ(std::u16string(units, WriteUtf16(c.code, units)), c.utf16);
  }
}

// Every code point comes back from what the writers make of it, and every
// beginning of its UTF-8 or UTF-16 form is cut off, not invalid.
TEST(UtfWriters, EveryCodePointReadsBack) {
  for (uint32_t code = 0; code <= 0x10FFFF; ++code) {
    if (IsHighSurrogate(code) || IsLowSurrogate(code)) continue;
    char bytes[4];
    const size_t length = WriteUtf8(code, bytes);
    const std::string_view utf8(bytes, length);
    const UtfCharacter from_utf8 = Utf8CharacterAt(utf8, 0);
    char16_t units[2];
    const std::u16string_view utf16(units, WriteUtf16(code, units));
    const UtfCharacter from_utf16 = Utf16CharacterAt(utf16, 0);
    if (from_utf8.code != code || from_utf8.length != length || from_utf16.code != code ||
        from_utf16.length != utf16.size()) {
      FAIL() << std::hex << code << " reads back as " << from_utf8.code << ", "
             << from_utf16.code;
    }
    for (size_t part = 1; part < utf8.size(); ++part) {
      if (!Utf8CharacterAt(utf8.substr(0, part), 0).cut_off) {
        FAIL() << std::hex << code << ": its first " << part << " bytes are not cut off";
      }
    }
    if (utf16.size() == 2 && !Utf16CharacterAt(utf16.substr(0, 1), 0).cut_off) {
      FAIL() << std::hex << code << ": its high surrogate alone is not cut off";
    }
  }
}

}  // namespace
}  // namespace orvane
