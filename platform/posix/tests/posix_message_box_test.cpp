#include "platform/posix/posix_message_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::posix {
namespace {

TEST(PosixMessageBox, WritesOneMarkedLinePerMessage) {
  const struct {
    std::u16string text;
    MessageBoxKind kind;
    std::string expected;
  } cases[] = {
      {u"Disk full", MessageBoxKind::kCritical, "error: Disk full\n"},
      {u"Done", MessageBoxKind::kInformation, "note: Done\n"},
      {u"\u7121\u6CD5\u4F7F\u7528", MessageBoxKind::kCritical,
       "error: \xE7\x84\xA1\xE6\xB3\x95\xE4\xBD\xBF\xE7\x94\xA8\n"},
      {u"two\r\nlines\nand\rmore", MessageBoxKind::kCritical, "error: two lines and more\n"},
      {u"", MessageBoxKind::kInformation, "note: \n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    PosixMessageBox box(out);
    box.Show(c.text, c.kind);
    EXPECT_EQ(out.str(), c.expected);
  }
}

TEST(PosixMessageBox, MessagesFollowOneAnother) {
  std::ostringstream out;
  PosixMessageBox box(out);
  box.Show(u"first", MessageBoxKind::kCritical);
  box.Show(u"second", MessageBoxKind::kInformation);
  EXPECT_EQ(out.str(), "error: first\nnote: second\n");
}

}  // namespace
}  // namespace orvane::posix
