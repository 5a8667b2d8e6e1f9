#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_address_book.h"
#include "addressbook/tests/fake_call.h"
#include "addressbook/vcard_writer.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

using namespace tags;

constexpr char16_t kMark = u'\u0001';
const std::u16string kRunHeader = u"[header]\r\nContact:\r\n";

// A run in progress over a book of the given entries: WabEntries filled, the run
// log holding its header, TotalCount set and `done` entries already counted.
class RunOverBook {
 public:
  explicit RunOverBook(std::vector<FakeEntry> entries, int16_t done = 0)
      : book(std::make_shared<FakeAddressBook>(std::move(entries))), call(book) {
    call.FetchEntries();
    call.state.LogText = kRunHeader;
    call.state.ProgressText = u"Contact:";
    call.state.TotalCount = static_cast<int16_t>(book->entries.size());
    call.state.CurrentCount = done;
  }

  std::u16string Card(int32_t index) { return BuildWabVCard(call.context, index, 0, 0); }

  std::shared_ptr<FakeAddressBook> book;
  FakeCall call;
};

TEST(WriterInARun, CountsReportsAndLogsTheEntry) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann Lee"),
                   FakeEntry().Text(PR_DISPLAY_NAME, "Bo Chan")},
                  4);
  const std::u16string card = run.Card(2);
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Bo Chan"}), card));
  EXPECT_EQ(run.call.state.CurrentCount, 5);
  EXPECT_EQ(run.call.state.ProgressText, u"Bo Chan");
  EXPECT_EQ(run.call.events, (std::vector<RecordedEvent>{{0, 2, 5, u"Bo Chan", {}}}));
  EXPECT_EQ(Visible(run.call.state.LogText),
            Visible(kRunHeader + u"5" + kMark + u"Bo Chan\r\n"));
}

TEST(WriterInARun, RaisesTheEventBeforeTheLogLine) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann")});
  run.Card(1);
  ASSERT_EQ(run.call.events.size(), 1u);
  EXPECT_EQ(Visible(run.call.events[0].log_text), Visible(kRunHeader));
}

TEST(WriterInARun, EntriesFollowOneAnother) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann"), FakeEntry(),
                   FakeEntry().Text(PR_DISPLAY_NAME, "Cy")});
  for (int32_t index = 1; index <= 3; ++index) run.Card(index);
  EXPECT_EQ(run.call.events, (std::vector<RecordedEvent>{{0, 3, 1, u"Ann", {}},
                                                         {0, 3, 2, u"", {}},
                                                         {0, 3, 3, u"Cy", {}}}));
  EXPECT_EQ(Visible(run.call.state.LogText),
            Visible(kRunHeader + u"1" + kMark + u"Ann\r\n" + u"2" + kMark + u"\r\n" + u"3" +
                    kMark + u"Cy\r\n"));
}

TEST(WriterInARun, CountStopsAt32767AndTheEntryIsStillWritten) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann")}, 32767);
  const std::u16string card = run.Card(1);
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann"}), card));
  EXPECT_EQ(run.call.state.CurrentCount, 32767);
  EXPECT_EQ(run.call.events.size(), 1u);
  EXPECT_EQ(Visible(run.call.state.LogText), Visible(kRunHeader + u"32767" + kMark + u"Ann\r\n"));
}

TEST(WriterInARun, EntryOutsideTheListIsCountedAndLoggedWithoutName) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann")});
  const std::u16string card = run.Card(7);
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), card));
  EXPECT_EQ(run.call.events, (std::vector<RecordedEvent>{{0, 1, 1, u"", {}}}));
  EXPECT_EQ(Visible(run.call.state.LogText), Visible(kRunHeader + u"1" + kMark + u"\r\n"));
}

TEST(WriterInARun, HandlerThatReleasesTheEntriesDoesNotHarmTheCard) {
  RunOverBook run({FakeEntry()
                       .Text(PR_DISPLAY_NAME, "Ann")
                       .Text(PR_TITLE, "Buyer")
                       .List(PR_CONTACT_EMAIL_ADDRESSES, {"a@x"})});
  size_t reads_at_event = 0;
  run.call.on_event = [&](const RecordedEvent&) {
    reads_at_event = run.book->reads.size();
    run.call.state.WabEntries.assign(1, {});
  };
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann", u"TITLE:Buyer", u"EMAIL;INTERNET:a@x"}),
                       run.Card(1)));
  EXPECT_EQ(run.book->reads.size(), reads_at_event);
}

TEST(WriterInARun, FailingHandlerCostsNeitherCardNorLogLine) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Text(PR_TITLE, "Buyer")});
  run.call.on_event = [](const RecordedEvent&) { throw Error(errors::kInternalError); };
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann", u"TITLE:Buyer"}), run.Card(1)));
  EXPECT_EQ(Visible(run.call.state.LogText), Visible(kRunHeader + u"1" + kMark + u"Ann\r\n"));
}

// Any SingleItem but 0 leaves the run state alone.
class WriterForOneItem : public ::testing::TestWithParam<int16_t> {};

TEST_P(WriterForOneItem, LeavesTheRunStateAlone) {
  RunOverBook run({FakeEntry().Text(PR_DISPLAY_NAME, "Ann")}, 3);
  const std::u16string card = BuildWabVCard(run.call.context, 1, 0, GetParam());
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann"}), card));
  EXPECT_EQ(run.call.state.CurrentCount, 3);
  EXPECT_EQ(run.call.state.ProgressText, u"Contact:");
  EXPECT_EQ(Visible(run.call.state.LogText), Visible(kRunHeader));
  EXPECT_TRUE(run.call.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Flags, WriterForOneItem, ::testing::Values(1, -1, 2));

}  // namespace
}  // namespace orvane::testing
