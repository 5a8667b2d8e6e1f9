#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/wab_component.h"
#include "platform/automation_date.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

constexpr char16_t kTitleSentinel[] = u"(title as passed)";
const AutomationDate kTimeSentinel = AutomationDateFromParts({2000, 1, 1, 0, 0, 0});
const DateTimeParts kStored{2005, 3, 1, 12, 0, 0};
constexpr char kStoredStamp[] = "2005-03-01 12:00:00";

FakeEntry AnnWithTime() {
  FakeEntry entry = Named("Ann Lee");
  entry.Time(tags::PR_LAST_MODIFICATION_TIME, FileTimeOf(kStored, 250));
  return entry;
}

// "yyyy-MM-dd HH:mm:ss" of a date, for readable comparisons.
std::string Stamp(AutomationDate date) {
  const std::optional<DateTimeParts> p = PartsFromAutomationDate(date);
  if (!p) return "(no date)";
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p->year, p->month, p->day,
                p->hour, p->minute, p->second);
  return text;
}

class WabItemsTest : public ::testing::Test {
 public:
  // GetItem with sentinels in both out parameters.
  int32_t GetItem(int16_t ItemIdx) {
    return wab.component.GetItem(ItemIdx, kAddressBook, title, modified);
  }
  int32_t ExportItem(int16_t ItemIdx, std::u16string filename) {
    return wab.component.ExportItem2(ItemIdx, kAddressBook, filename);
  }
  void AddEntries(int count) {
    for (int k = 1; k <= count; ++k) wab.book->AddEntry(Named("Contact " + std::to_string(k)));
  }

  WabComponent wab;
  std::u16string title = kTitleSentinel;
  AutomationDate modified = kTimeSentinel;
};

struct CountCase {
  const char* name;
  int stored_entries;
  std::optional<int32_t> reported_count;
  bool open_fails;
  int16_t expected;
};

TEST_F(WabItemsTest, ItemCountNarrowsTheLibraryCountAndAlwaysCloses) {
  const CountCase cases[] = {
      {"three entries", 3, std::nullopt, false, 3},
      {"empty book", 0, std::nullopt, false, 0},
      {"largest count", 0, 32767, false, 32767},
      {"one above the largest count", 0, 32768, false, -1},
      {"40000 entries", 0, 40000, false, -1},
      {"negative count within range", 0, -5, false, -5},
      {"negative count beyond range", 0, -40000, false, -1},
      {"library that cannot be opened", 3, std::nullopt, true, 0},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    for (int k = 0; k < c.stored_entries; ++k) fresh.book->AddEntry(Named("x"));
    fresh.book->failures.entry_count = c.reported_count;
    fresh.book->failures.open = c.open_fails;

    EXPECT_EQ(fresh.component.itemcount(kAddressBook), c.expected);

    EXPECT_EQ(fresh.book->calls.open, 1);
    EXPECT_EQ(fresh.book->calls.close, 1) << "closed also after a failed open";
    EXPECT_EQ(fresh.book->calls.get_entries, 0);
    EXPECT_FALSE(fresh.book->session_open());
  }
}

TEST_F(WabItemsTest, GetItemOutsideTheEntriesFailsBeforeAnyPropertyIsRead) {
  AddEntries(3);
  for (const int16_t index : {int16_t{0}, int16_t{-1}, int16_t{4}, int16_t{32767},
                              int16_t{-32768}}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(GetItem(index), errors::kSubscriptOutOfRange);
    EXPECT_EQ(title, kTitleSentinel);
    EXPECT_EQ(modified, kTimeSentinel);
    EXPECT_EQ(wab.book->calls.get_num_props, 0);
    EXPECT_TRUE(wab.book->reads.empty());
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

struct ZoneCase {
  const char* name;
  TimeZoneInformation zone;
  std::string expected;
};

TEST_F(WabItemsTest, GetItemMovesTheModificationTimeByTheExactOffset) {
  const ZoneCase cases[] = {
      {"eight hours east", {TimeZoneInformation::kUnknown, -480, 0, 0}, "2005-03-01 04:00:00"},
      {"on the meridian", {TimeZoneInformation::kUnknown, 0, 0, 0}, "2005-03-01 12:00:00"},
      {"five hours west, standard time",
       {TimeZoneInformation::kStandard, 300, 0, -60},
       "2005-03-01 17:00:00"},
      {"five hours west, daylight time",
       {TimeZoneInformation::kDaylight, 300, 0, -60},
       "2005-03-01 16:00:00"},
      {"five and a half hours east", {TimeZoneInformation::kUnknown, -330, 0, 0},
       "2005-03-01 06:30:00"},
      {"five and a half hours west", {TimeZoneInformation::kUnknown, 330, 0, 0},
       "2005-03-01 17:30:00"},
      {"zone that cannot be read", {TimeZoneInformation::kInvalid, 300, 0, 0},
       "2005-03-01 12:00:00"},
  };
  wab.book->AddEntry(AnnWithTime());
  for (const ZoneCase& c : cases) {
    SCOPED_TRACE(c.name);
    wab.time_zone->zone = c.zone;
    modified = kTimeSentinel;

    EXPECT_EQ(GetItem(1), 0);

    EXPECT_EQ(title, u"Ann Lee");
    EXPECT_EQ(Stamp(modified), c.expected) << "milliseconds dropped, offset exact";
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST_F(WabItemsTest, GetItemInAHalfHourZoneReturnsTheStoredInstant) {
  // The library hands the time out as local time; the offset must undo exactly that.
  wab.book->local_bias_minutes = -330;
  wab.SetZone(-330);
  wab.book->AddEntry(AnnWithTime());
  EXPECT_EQ(GetItem(1), 0);
  EXPECT_EQ(Stamp(modified), kStoredStamp);
}

TEST_F(WabItemsTest, GetItemLeavesWhatTheEntryLacksAsPassed) {
  wab.book->AddEntry(FakeEntry().Text(tags::PR_SURNAME, "Lee"));
  for (const int32_t bias : {-480, 0, 330}) {
    SCOPED_TRACE(bias);
    wab.SetZone(bias);
    EXPECT_EQ(GetItem(1), 0);
    EXPECT_EQ(title, kTitleSentinel);
    EXPECT_EQ(modified, kTimeSentinel) << "a time never read is not moved";
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST_F(WabItemsTest, GetItemKeepsTheLastOccurrenceOfEachProperty) {
  wab.book->AddEntry(FakeEntry()
                         .Text(tags::PR_DISPLAY_NAME, "First")
                         .Time(tags::PR_LAST_MODIFICATION_TIME, FileTimeOf({2001, 1, 1, 8, 0, 0}))
                         .Text(tags::PR_DISPLAY_NAME, "Second")
                         .Time(tags::PR_LAST_MODIFICATION_TIME, FileTimeOf(kStored)));
  EXPECT_EQ(GetItem(1), 0);
  EXPECT_EQ(title, u"Second");
  EXPECT_EQ(Stamp(modified), kStoredStamp);
}

struct UnreadableTimeCase {
  const char* name;
  bool name_first;
  std::u16string expected_title;
};

TEST_F(WabItemsTest, GetItemWithAnUnreadableModificationTimeFailsWithTypeMismatch) {
  const UnreadableTimeCase cases[] = {
      {"display name before the time", true, u"Ann Lee"},
      {"display name after the time", false, kTitleSentinel},
  };
  for (const UnreadableTimeCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    FakeEntry entry;
    if (c.name_first) entry.Text(tags::PR_DISPLAY_NAME, "Ann Lee");
    entry.Unreadable(tags::PR_LAST_MODIFICATION_TIME);
    if (!c.name_first) entry.Text(tags::PR_DISPLAY_NAME, "Ann Lee");
    fresh.book->AddEntry(entry);
    std::u16string passed_title = kTitleSentinel;
    AutomationDate passed_time = kTimeSentinel;

    EXPECT_EQ(fresh.component.GetItem(1, kAddressBook, passed_title, passed_time),
              errors::kTypeMismatch);

    EXPECT_EQ(passed_title, c.expected_title);
    EXPECT_EQ(passed_time, kTimeSentinel);
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

struct EmptyCase {
  const char* name;
  bool open_fails;
  int expected_closes;
};

TEST_F(WabItemsTest, EmptyOrMissingBookLeavesEverythingAsPassed) {
  const EmptyCase cases[] = {
      {"empty book", false, 1},
      {"library that cannot be opened", true, 0},
  };
  for (const EmptyCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    fresh.book->failures.open = c.open_fails;
    std::u16string passed_title = kTitleSentinel;
    AutomationDate passed_time = kTimeSentinel;
    std::u16string filename = u"/out/card";

    EXPECT_EQ(fresh.component.GetItem(1, kAddressBook, passed_title, passed_time), 0);
    EXPECT_EQ(fresh.component.ExportItem2(1, kAddressBook, filename), 0);

    EXPECT_EQ(passed_title, kTitleSentinel);
    EXPECT_EQ(passed_time, kTimeSentinel);
    EXPECT_TRUE(fresh.fake.disk->files.empty());
    EXPECT_EQ(fresh.book->calls.close, 2 * c.expected_closes);
    EXPECT_EQ(fresh.book->calls.get_entries, 0);
    EXPECT_EQ(fresh.book->calls.outside_session, 0);
  }
}

TEST_F(WabItemsTest, ExportItemReplacesTheFileWithTheCardAlone) {
  wab.book->AddEntry(Named("Ann Lee"));
  wab.fake.disk->AddFile(u"/out/ann.vcf", "an older card\r\n");
  const std::u16string log_before = wab.state().LogText;

  EXPECT_EQ(ExportItem(1, u"/out/ann"), 0);

  EXPECT_EQ(wab.File(u"/out/ann.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:Ann Lee\r\nEND:VCARD\r\n");
  EXPECT_TRUE(wab.events->lines.empty()) << "a single item raises no progress";
  EXPECT_EQ(wab.state().CurrentCount, 0);
  EXPECT_EQ(wab.state().LogText, log_before);
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST_F(WabItemsTest, ExportItemOutsideTheEntriesWritesNothing) {
  AddEntries(3);
  for (const int16_t index : {int16_t{0}, int16_t{-1}, int16_t{4}}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(ExportItem(index, u"/out/card"), errors::kSubscriptOutOfRange);
    EXPECT_TRUE(wab.fake.disk->files.empty());
    EXPECT_EQ(wab.book->calls.get_num_props, 0);
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

struct FileFailureCase {
  const char* name;
  std::string failing_operation;  // empty: none is made to fail
  std::u16string filename;
  int32_t expected;
};

TEST_F(WabItemsTest, ExportItemPassesFileErrorsOnAndStillClosesTheLibrary) {
  const FileFailureCase cases[] = {
      {"existence test", "FileExists", u"/out/ann", errors::kPathFileAccessError},
      {"delete of the older file", "DeleteFile", u"/out/ann", errors::kPermissionDenied},
      {"write", "AppendToFile", u"/out/ann", errors::kDiskFull},
      {"missing folder", "", u"/nowhere/ann", errors::kPathNotFound},
  };
  for (const FileFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    fresh.book->AddEntry(Named("Ann Lee"));
    fresh.fake.disk->AddFile(u"/out/ann.vcf", "older");
    fresh.fake.disk->before = [&](const std::string& operation, const std::u16string&) {
      if (operation == c.failing_operation) throw Error(c.expected);
    };
    std::u16string filename = c.filename;

    EXPECT_EQ(fresh.component.ExportItem2(1, kAddressBook, filename), c.expected);
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

TEST_F(WabItemsTest, FortyThousandEntriesCannotBeCountedButEachOfTheFirst32767CanBeRead) {
  AddEntries(40000);

  EXPECT_EQ(wab.component.itemcount(kAddressBook), -1);
  EXPECT_TRUE(wab.LibraryReleased());

  EXPECT_EQ(GetItem(32767), 0);
  EXPECT_EQ(title, u"Contact 32767");
  EXPECT_TRUE(wab.LibraryReleased());

  EXPECT_EQ(ExportItem(32767, u"/out/last"), 0);
  EXPECT_EQ(wab.File(u"/out/last.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:Contact 32767\r\nEND:VCARD\r\n");
  EXPECT_TRUE(wab.LibraryReleased());
}

struct YieldCase {
  const char* name;
  std::function<void(WabItemsTest&)> call;
  int expected_yields;
};

TEST_F(WabItemsTest, ItemOperationsYieldOnceWhileTheLibraryIsOpen) {
  const YieldCase cases[] = {
      {"GetItem", [](WabItemsTest& t) { t.GetItem(1); }, 1},
      {"ExportItem2", [](WabItemsTest& t) { t.ExportItem(1, u"/out/ann"); }, 1},
      {"itemcount", [](WabItemsTest& t) { t.wab.component.itemcount(kAddressBook); }, 0},
  };
  wab.book->AddEntry(AnnWithTime());
  for (const YieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    int yields = 0;
    bool open_during_yield = false;
    wab.fake.message_loop->SetHook([&] {
      ++yields;
      open_during_yield = wab.book->session_open();
    });

    c.call(*this);

    EXPECT_EQ(yields, c.expected_yields);
    EXPECT_EQ(open_during_yield, c.expected_yields > 0);
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST_F(WabItemsTest, CallsMadeDuringTheYieldAreRefusedAndLeaveTheOperationIntact) {
  wab.book->AddEntry(AnnWithTime());
  int16_t count_inside = 0;
  int32_t get_item_inside = 0;
  bool called_in = false;
  wab.fake.message_loop->SetHook([&] {
    if (called_in) return;
    called_in = true;
    std::u16string inner_title;
    AutomationDate inner_time = 0;
    count_inside = wab.component.itemcount(kAddressBook);
    get_item_inside = wab.component.GetItem(1, kAddressBook, inner_title, inner_time);
  });

  EXPECT_EQ(GetItem(1), 0);

  EXPECT_EQ(count_inside, -1);
  EXPECT_EQ(get_item_inside, errors::kArrayLocked);
  EXPECT_EQ(title, u"Ann Lee");
  EXPECT_EQ(Stamp(modified), kStoredStamp);
  EXPECT_EQ(wab.book->calls.open, 1) << "the refused calls never reached the library";
  EXPECT_TRUE(wab.LibraryReleased());
}

}  // namespace
}  // namespace orvane::testing
