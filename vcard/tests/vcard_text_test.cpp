#include "vcard/vcard_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/posix/posix_code_page.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {
namespace {

// A code page whose conversion of any text holding "!" fails.
class FailingCodePage final : public CodePage {
 public:
  uint32_t Number() override { return 1252; }
  std::string FromUtf16(const std::u16string& text) override {
    if (text.find(u'!') != std::u16string::npos) throw std::runtime_error("cannot convert");
    return Narrow(text);
  }
  std::u16string ToUtf16(const std::string& bytes) override { return Widen(bytes); }
};

TEST(VCardText, LinesAreJoinedByCrLfWithNoBreakAfterTheLast) {
  posix::PosixCodePage code_page(1252);
  VCardText card(code_page);
  EXPECT_EQ(card.text(), u"");
  card.AddLine(u"BEGIN", u"VCARD");
  card.AddLine(u"FN", u"");
  card.AddLineIfValue(u"NOTE", u"");
  card.AddLineIfValue(u"TITLE", u"Chemist");
  card.AddLine(u"END", u"VCARD");
  EXPECT_EQ(Narrow(card.text()), "BEGIN:VCARD\r\nFN:\r\nTITLE:Chemist\r\nEND:VCARD");
}

TEST(VCardText, ValueIsQuotedPrintableExactlyWhenItHoldsALineBreakStartsWithABlankOrIsAskedTo) {
  const std::string qp = ";ENCODING=QUOTED-PRINTABLE:";
  const struct {
    std::u16string value;
    bool asked;
    std::string line;
  } rows[] = {
      {u"a=b;c,d\\e", false, "X:a=b;c,d\\e"},
      {u"a=b", true, "X" + qp + "a=3Db"},
      {u"one\r\ntwo", false, "X" + qp + "one=0D=0Atwo"},
      {u"one\rtwo", false, "X" + qp + "one=0Dtwo"},
      {u"one\ntwo", false, "X" + qp + "one=0Atwo"},
      {u" lead", false, "X" + qp + " lead"},
      {u"\tlead", false, "X" + qp + "\tlead"},
      {u"trail \t", false, "X:trail \t"},
      {u"", true, "X" + qp},
  };
  for (const auto& row : rows) {
    posix::PosixCodePage code_page(1252);
    VCardText card(code_page);
    if (row.asked) {
      card.AddQuotedPrintableLine(u"X", row.value);
    } else {
      card.AddLine(u"X", row.value);
    }
    EXPECT_EQ(Narrow(card.text()), row.line) << &row - rows;
  }
}

TEST(VCardText, StripWorksOnTheEndOfTheWholeText) {
  posix::PosixCodePage code_page(1252);
  VCardText card(code_page);
  card.AddLine(u"NICKNAME", u"Bo;;");
  card.AddLineIfValue(u"ORG", u"");
  card.StripTrailingSemicolons();
  card.AddLine(u"N", u";;Lee;;");
  card.StripTrailingSemicolons();
  EXPECT_EQ(Narrow(card.text()), "NICKNAME:Bo\r\nN:;;Lee");
}

TEST(VCardText, ValueTheCodePageCannotEncodeLosesItsLineOnly) {
  FailingCodePage code_page;
  VCardText card(code_page);
  card.AddLine(u"BEGIN", u"VCARD");
  card.AddLine(u"NOTE", u"Hi!\r\n");
  card.AddLine(u"END", u"VCARD");
  EXPECT_EQ(Narrow(card.text()), "BEGIN:VCARD\r\nEND:VCARD");
}

}  // namespace
}  // namespace orvane::testing
