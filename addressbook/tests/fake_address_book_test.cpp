// The fake library is shared by the address-book tests; these pin down what they rely on.
#include "addressbook/tests/fake_address_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"

namespace orvane::testing {
namespace {

using namespace tags;

FakeAddressBook BookOf(int entries) {
  FakeAddressBook book;
  for (int k = 1; k <= entries; ++k) book.AddEntry(FakeEntry().Text(PR_DISPLAY_NAME, std::to_string(k)));
  return book;
}

std::string ReadText(FakeAddressBook& book, WabContext& context, WabEntry entry, int32_t tag,
                     int32_t size = 128) {
  std::string buffer(static_cast<size_t>(size), '\0');
  int32_t required = 0;
  if (book.kWabGetProp_String(context, entry, tag, buffer.data(), size, &required) == 0) {
    return "<failed, required " + std::to_string(required) + ">";
  }
  return buffer.substr(0, buffer.find('\0'));
}

struct FillCase {
  int entries;
  std::optional<int32_t> fill_only;
  int32_t asked;
  int32_t filled;
};

class FakeFetch : public ::testing::TestWithParam<FillCase> {};

TEST_P(FakeFetch, FillsEntriesFromTheFirstOn) {
  FakeAddressBook book = BookOf(GetParam().entries);
  book.failures.fill_only = GetParam().fill_only;
  WabContext context;
  ASSERT_NE(book.kWabOpen(context), 0);
  std::vector<WabEntry> list(static_cast<size_t>(GetParam().asked) + 1);
  EXPECT_EQ(book.kWabGetEntries(context, &list[1], GetParam().asked), GetParam().filled);
  for (int32_t k = 1; k <= GetParam().asked; ++k) {
    EXPECT_EQ(list[static_cast<size_t>(k)].id, k <= GetParam().filled ? uint64_t(k) : 0u) << k;
  }
  EXPECT_EQ(book.entries_outstanding, GetParam().filled > 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, FakeFetch,
                         ::testing::Values(FillCase{3, std::nullopt, 3, 3},
                                           FillCase{3, 2, 3, 2}, FillCase{3, 0, 3, 0},
                                           FillCase{2, std::nullopt, 4, 2}));

TEST(FakeAddressBook, FailedOpenAndCallsOutsideTheSessionAreVisible) {
  FakeAddressBook book = BookOf(1);
  book.failures.open = true;
  book.failures.open_reason = u"no file";
  WabContext context;
  EXPECT_EQ(book.kWabOpen(context), 0);
  EXPECT_EQ(book.OpenFailureReason(), u"no file");
  book.kWabGetNumEntries(context);
  EXPECT_EQ(book.calls.outside_session, 1);
  book.failures.open = false;
  ASSERT_NE(book.kWabOpen(context), 0);
  EXPECT_EQ(book.kWabGetNumEntries(context), 1);
  book.kWabClose(context);
  EXPECT_EQ(book.calls.outside_session, 1);
  EXPECT_EQ(book.calls.open, 2);
  EXPECT_EQ(book.calls.get_num_entries, 2);
}

TEST(FakeAddressBook, TextThatDoesNotFitAsksForALargerBuffer) {
  FakeAddressBook book;
  book.AddEntry(FakeEntry().Text(PR_COMMENT, "abcdef"));
  WabContext context;
  book.kWabOpen(context);
  EXPECT_EQ(ReadText(book, context, WabEntry{1}, PR_COMMENT, 6), "<failed, required 7>");
  EXPECT_EQ(ReadText(book, context, WabEntry{1}, PR_COMMENT, 7), "abcdef");
}

TEST(FakeAddressBook, NthReadFailsCountingEveryGetter) {
  FakeAddressBook book;
  book.AddEntry(FakeEntry().Short(PR_GENDER, 1).Text(PR_SURNAME, "Lee").Text(PR_GIVEN_NAME, "Ann"));
  book.failures.read = FailNthRead(2);
  WabContext context;
  book.kWabOpen(context);
  WabEntry entry{1};
  int16_t gender = 0;
  EXPECT_EQ(book.kWabGetProp_Short(context, entry, PR_GENDER, gender), 1);
  EXPECT_EQ(ReadText(book, context, entry, PR_SURNAME), "<failed, required 0>");
  EXPECT_EQ(ReadText(book, context, entry, PR_GIVEN_NAME), "Ann");
  ASSERT_EQ(book.reads.size(), 3u);
  EXPECT_EQ(book.reads[1].tag, PR_SURNAME);
  EXPECT_EQ(book.reads[1].number, 2);
}

TEST(FakeAddressBook, RepeatedTagReadsTheOccurrenceLastVisited) {
  FakeAddressBook book;
  book.AddEntry(FakeEntry().Text(PR_DISPLAY_NAME, "Old").Text(PR_SURNAME, "Lee").Text(PR_DISPLAY_NAME, "New"));
  WabContext context;
  book.kWabOpen(context);
  WabEntry entry{1};
  EXPECT_EQ(ReadText(book, context, entry, PR_DISPLAY_NAME), "Old");
  EXPECT_EQ(book.kWabGetPropTag(context, entry, 2, 0), PR_DISPLAY_NAME);
  EXPECT_EQ(ReadText(book, context, entry, PR_DISPLAY_NAME), "New");
  EXPECT_EQ(book.kWabGetPropTag(context, entry, 0, 0), PR_DISPLAY_NAME);
  EXPECT_EQ(ReadText(book, context, entry, PR_DISPLAY_NAME), "Old");
}

TEST(FakeAddressBook, TimesComeOutInLocalTime) {
  FakeAddressBook book;
  book.AddEntry(FakeEntry().Time(PR_LAST_MODIFICATION_TIME, FileTimeOf({2005, 3, 1, 12, 0, 0})));
  book.local_bias_minutes = -480;
  WabContext context;
  book.kWabOpen(context);
  WabEntry entry{1};
  FileTime time;
  ASSERT_EQ(book.kWabGetProp_SysTime(context, entry, PR_LAST_MODIFICATION_TIME, time), 1);
  EXPECT_EQ(time.ticks(), FileTimeOf({2005, 3, 1, 20, 0, 0}).ticks());
}

TEST(FakeAddressBook, AllZeroEntryHasNoProperties) {
  FakeAddressBook book = BookOf(2);
  WabContext context;
  book.kWabOpen(context);
  WabEntry unfilled;
  EXPECT_EQ(book.kWabGetNumProps(context, unfilled), 0);
  WabEntry second{2};
  EXPECT_EQ(book.kWabGetNumProps(context, second), 1);
}

}  // namespace
}  // namespace orvane::testing
