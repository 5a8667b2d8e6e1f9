#pragma once

// Whole-card comparison that names the first line that differs.
//
//   EXPECT_TRUE(SameCard(CardOf({"N:Lee;Ann", "FN:Ann Lee"}), card));
//
// CardOf wraps body lines in BEGIN/VERSION and END; SameCard compares the whole
// text, CR LF included, and reports the first differing line with control
// characters made visible.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace orvane::testing {

// UTF-8 of the text with CR, LF and other control characters written as \r, \n, \xNN.
inline std::string Visible(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    }
    if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\n') {
      out += "\\n";
    } else if (c < 0x20) {
      const char hex[] = "0123456789ABCDEF";
      out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
              static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

inline std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines[i];
  }
  return text;
}

// The lines of a text separated by CR LF; a bare CR or LF stays inside its line.
inline std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t end = text.find(u"\r\n"); end != std::u16string::npos;
       end = text.find(u"\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  lines.push_back(text.substr(start));
  return lines;
}

inline std::vector<std::u16string> CardOf(const std::vector<std::u16string>& body) {
  std::vector<std::u16string> lines = {u"BEGIN:VCARD", u"VERSION:2.1"};
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back(u"END:VCARD");
  return lines;
}

inline ::testing::AssertionResult SameCard(const std::vector<std::u16string>& expected_lines,
                                           const std::u16string& actual) {
  if (JoinLines(expected_lines) == actual) return ::testing::AssertionSuccess();
  const std::vector<std::u16string> actual_lines = SplitLines(actual);
  for (size_t i = 0; i < std::max(expected_lines.size(), actual_lines.size()); ++i) {
    const bool has_expected = i < expected_lines.size();
    const bool has_actual = i < actual_lines.size();
    if (has_expected && has_actual && expected_lines[i] == actual_lines[i]) continue;
    return ::testing::AssertionFailure()
           << "line " << i + 1 << " differs\n  expected: "
           << (has_expected ? "\"" + Visible(expected_lines[i]) + "\"" : "(no line)")
           << "\n  actual:   "
           << (has_actual ? "\"" + Visible(actual_lines[i]) + "\"" : "(no line)")
           << "\n  whole card: \"" << Visible(actual) << "\"";
  }
  return ::testing::AssertionFailure() << "cards differ";
}

// Rows of case tables print as their name (a test file whose rows live in an
// unnamed namespace brings this in there with a using-declaration).
template <typename Row>
  requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

// Names parameterised cases after the `name` field of their row.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

}  // namespace orvane::testing
