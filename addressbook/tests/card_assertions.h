#pragma once

// Whole-card comparison, CR LF included, that names the first line that differs:
//   EXPECT_TRUE(SameCard(CardOf({u"N:Lee;Ann", u"FN:Ann Lee"}), card));

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

// UTF-8 of the text with CR and LF written as \r and \n.
inline std::string Visible(const std::u16string& text) {
  std::string out;
  for (const char c : Narrow(text)) {
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  }
  return out;
}

// BEGIN and VERSION, the body lines, END.
inline std::vector<std::u16string> CardOf(const std::vector<std::u16string>& body) {
  std::vector<std::u16string> lines = {u"BEGIN:VCARD", u"VERSION:2.1"};
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back(u"END:VCARD");
  return lines;
}

inline ::testing::AssertionResult SameCard(const std::vector<std::u16string>& expected,
                                           const std::u16string& actual) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t end; (end = actual.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    lines.push_back(actual.substr(start, end - start));
  }
  lines.push_back(actual.substr(start));
  if (lines == expected) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < lines.size() && i < expected.size() && lines[i] == expected[i]) ++i;
  const auto line = [i](const std::vector<std::u16string>& of) {
    return i < of.size() ? "\"" + Visible(of[i]) + "\"" : std::string("(no line)");
  };
  return ::testing::AssertionFailure() << "line " << i + 1 << " differs\n  expected: "
                                       << line(expected) << "\n  actual:   " << line(lines)
                                       << "\n  card: " << Visible(actual);
}

}  // namespace orvane::testing
