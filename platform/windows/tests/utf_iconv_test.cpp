// The UTF-8 iconv of the MinGW build answers as this system's iconv does.

#include "platform/windows/kwab/json/utf_iconv.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string>

namespace orvane {
namespace {

struct Answer {
  std::size_t result;
  int error;
  std::size_t consumed;
  std::string output;
  friend bool operator==(const Answer&, const Answer&) = default;
};

template <typename Converter, typename Convert>
Answer ConvertOnce(Converter converter, Convert convert, const std::string& input,
                   std::size_t room) {
  std::string output(room, '\0');
  char* in = const_cast<char*>(input.data());
  char* out = output.data();
  std::size_t in_left = input.size(), out_left = room;
  errno = 0;
  const std::size_t result = convert(converter, &in, &in_left, &out, &out_left);
  const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
  output.resize(room - out_left);
  return {result, error, input.size() - in_left, output};
}

struct ConversionCase {
  const char* to;
  const char* from;
  std::string input;
  std::size_t room = 64;
};

class UtfIconvTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(UtfIconvTest, AnswersAsTheSystemIconv) {
  const ConversionCase& c = GetParam();
  iconv_t system = iconv_open(c.to, c.from);
  orvane_utf_iconv_t ours = orvane_utf_iconv_open(c.to, c.from);
  ASSERT_NE(system, reinterpret_cast<iconv_t>(-1));
  ASSERT_NE(ours, reinterpret_cast<orvane_utf_iconv_t>(-1));
  EXPECT_EQ(ConvertOnce(ours, orvane_utf_iconv, c.input, c.room),
            ConvertOnce(system, iconv, c.input, c.room));
  iconv_close(system);
  orvane_utf_iconv_close(ours);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, UtfIconvTest,
    testing::Values(
        ConversionCase{"UTF-16LE", "UTF-8", "plain"},
        ConversionCase{"UTF-16LE", "UTF-8",
                       "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"},    // 2, 3, 4 bytes
        ConversionCase{"UTF-16LE", "UTF-8", "a\xC0\x80"},          // overlong
        ConversionCase{"UTF-16LE", "UTF-8", "a\xE0\x80\x80"},      // overlong, three bytes
        ConversionCase{"UTF-16LE", "UTF-8", "a\xED\xA0\x80"},      // a surrogate
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF4\x90\x80\x80"},  // above U+10FFFF
        ConversionCase{"UTF-16LE", "UTF-8", "a\x80"},              // a stray continuation byte
        ConversionCase{"UTF-16LE", "UTF-8", "a\xFF"},
        ConversionCase{"UTF-16LE", "UTF-8", "a\xE2\x82"},               // cut off at the end
        ConversionCase{"UTF-16LE", "UTF-8", "a\xE2\x41"},               // cut off inside
        ConversionCase{"UTF-16LE", "UTF-8", "a\xC3"},                   // cut off, each length
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF0"},
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF0\x9F"},
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF0\x9F\x98"},
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF0\x9F\x41\x80"},  // a wrong third byte
        ConversionCase{"UTF-16LE", "UTF-8", "a\xF4\x8F"},  // U+10FFFF's beginning
        ConversionCase{"UTF-16LE", "UTF-8", "abc\xF0\x9F\x98\x80", 7},  // the output is full
        ConversionCase{"UTF-8", "UTF-16LE", std::string("a\0\xE9\0\x2D\x4E", 6)},
        ConversionCase{"UTF-8", "UTF-16LE", std::string("\x3D\xD8\x00\xDE", 4)},  // a pair
        ConversionCase{"UTF-8", "UTF-16LE", std::string("a\0\x3D\xD8", 4)},       // cut-off pair
        ConversionCase{"UTF-8", "UTF-16LE",
                       std::string("a\0\x3D\xD8"
                                   "b\0",
                                   6)},                                      // lone high
        ConversionCase{"UTF-8", "UTF-16LE", std::string("a\0\x00\xDE", 4)},  // lone low
        ConversionCase{"UTF-8", "UTF-16LE", std::string("\x3D\xD8\x3D\xD8", 4)},  // high, high
        ConversionCase{"UTF-8", "UTF-16LE", std::string("\x3D\xD8\x00", 3)},  // high, odd byte
        ConversionCase{"UTF-8", "UTF-16LE", std::string("\x3D\xD8\x00\xDE", 4), 3},  // full
        ConversionCase{"UTF-8", "UTF-16LE", std::string("a\0b", 3)},         // odd byte
        ConversionCase{"UTF-8", "UTF-16LE", std::string("a\0\x2D\x4E", 4), 3}));

TEST(UtfIconvTest, KnowsOnlyItsTwoDirections) {
  errno = 0;
  EXPECT_EQ(orvane_utf_iconv_open("UTF-16LE", "ISO-8859-1"),
            reinterpret_cast<orvane_utf_iconv_t>(-1));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_NE(orvane_utf_iconv_open("utf-8", "utf-16le"), reinterpret_cast<orvane_utf_iconv_t>(-1));
}

}  // namespace
}  // namespace orvane
