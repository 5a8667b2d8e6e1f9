#include "addressbook/property_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_call.h"

namespace orvane::testing {
namespace {

using namespace tags;
constexpr int32_t kList = PR_CONTACT_EMAIL_ADDRESSES;
constexpr int32_t kTime = PR_BIRTHDAY;

TEST(PropertyText, IsTheValueAsText) {
  const struct {
    FakeEntry entry;
    int32_t tag;
    std::u16string expected;
    uint32_t code_page = 1252;
  } rows[] = {
      {FakeEntry().Text(PR_TITLE, "Ren\xE9"), PR_TITLE, u"René"},
      {FakeEntry().Text(PR_TITLE, "\xA4\xA4\xA4\xE5"), PR_TITLE, u"中文", 950},
      {FakeEntry().Text(PR_TITLE, std::string(128, 'n')), PR_TITLE, std::u16string(128, u'n')},
      {FakeEntry().Short(PR_GENDER, INT16_MIN), PR_GENDER, u"-32768"},
      {FakeEntry().Time(kTime, FileTimeOf({1980, 5, 17, 0, 0, 0})), kTime, u"1980-05-17"},
      {FakeEntry().Time(kTime, FileTimeOf({2005, 3, 1, 0, 0, 1}, 999)), kTime,
       u"2005-03-01 00:00:01"},
      {FakeEntry().Time(kTime, FileTime::FromTicks(uint64_t{1} << 63)), kTime, u""},
      {FakeEntry().List(kList, {"", "b", "c"}), kList, u"b;c"},
      {FakeEntry().List(kList, {"a", "", std::string(300, 'x')}), kList,
       u"a;;" + std::u16string(300, u'x')},
      {FakeEntry().Text(0x3001001F, "Ann"), 0x3001001F, u""},  // wide text is not read
      {FakeEntry().Text(PR_TITLE, "Ann"), PR_SURNAME, u""},
      {FakeEntry().Unreadable(PR_TITLE), PR_TITLE, u""},
      {FakeEntry().Unreadable(kList), kList, u""},
  };
  for (const auto& row : rows) {
    const auto call = CallOver({row.entry}, row.code_page);
    EXPECT_EQ(Visible(GetWabPropText(call->context, row.tag, 1)), Visible(row.expected))
        << "row " << &row - rows;
  }
}

TEST(PropertyText, ListElementThatFailsIsSkippedAndTheOthersKeepTheirOrder) {
  const std::u16string expected[] = {u"b;c", u"a;c", u"a;b"};
  for (int32_t failing = 0; failing < 3; ++failing) {
    auto call = CallOver({FakeEntry().List(kList, {"a", "b", "c"})});
    call->book->failures.list_element = failing;
    EXPECT_EQ(GetWabPropText(call->context, kList, 1), expected[failing]) << failing;
  }
}

TEST(PropertyText, LibraryThatNeverHasEnoughIsGivenUpOn) {
  for (const int32_t asked : {0, INT32_MAX}) {  // 0: twice the size offered
    SCOPED_TRACE(asked);
    auto call = CallOver({FakeEntry().Text(PR_TITLE, "Ann")});
    call->book->failures.text_never_fits = [=](int32_t size) { return asked ? asked : size * 2; };
    EXPECT_EQ(GetWabPropText(call->context, PR_TITLE, 1), u"");
    EXPECT_LE(call->book->calls.reads, 3);
  }
}

}  // namespace
}  // namespace orvane::testing
