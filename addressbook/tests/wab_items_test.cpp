#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "addressbook/tests/fake_call.h"
#include "platform/automation_date.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

using namespace tags;
const std::u16string kTitleSentinel = u"(title as passed)";
const AutomationDate kTimeSentinel = AutomationDateFromParts({2000, 1, 1, 0, 0, 0});
using Zone = TimeZoneInformation;

// "yyyy-MM-dd HH:mm:ss" of a date, for readable comparisons.
std::string Stamp(AutomationDate date) {
  const DateTimeParts p = PartsFromAutomationDate(date).value_or(DateTimeParts{});
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return text;
}

// The component, with sentinels in the out parameters of GetItem.
struct Items : WabComponent {
  int32_t GetItem(int16_t ItemIdx) {
    return component.GetItem(ItemIdx, kAddressBook, title, modified);
  }
  int32_t ExportItem(int16_t ItemIdx, std::u16string filename) {
    return component.ExportItem2(ItemIdx, kAddressBook, filename);
  }
  void AddAnnWithTime() {
    const FileTime noon = FileTimeOf({2005, 3, 1, 12, 0, 0}, 250);
    book->entries.push_back(
        FakeEntry().Text(PR_DISPLAY_NAME, "Ann Lee").Time(PR_LAST_MODIFICATION_TIME, noon));
  }

  std::u16string title = kTitleSentinel;
  AutomationDate modified = kTimeSentinel;
};

TEST(WabItems, ItemCountNarrowsTheLibraryCountAndAlwaysCloses) {
  const struct {
    std::optional<int32_t> reported;  // none: the three entries
    bool open_fails;
    int16_t expected;
  } rows[] = {
      {std::nullopt, false, 3},
      {0, false, 0},
      {32767, false, 32767},
      {32768, false, -1},
      {-40000, false, -1},
      {std::nullopt, true, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.reported.value_or(3) << " fails " << row.open_fails);
    Items items;
    items.AddEntries({"Ann", "Bo", "Cy"});
    items.book->failures.entry_count = row.reported;
    items.book->failures.open = row.open_fails;
    EXPECT_EQ(items.component.itemcount(kAddressBook), row.expected);
    EXPECT_EQ(items.book->calls.close, 1) << "closed also after a failed open";
    EXPECT_FALSE(items.book->session_open);
  }
}

TEST(WabItems, IndexOutsideTheEntriesFailsWith9AndTouchesNothing) {
  Items items;
  items.AddEntries({"Ann", "Bo", "Cy"});
  for (const int16_t index : std::initializer_list<int16_t>{0, -1, 4, -32768}) {
    EXPECT_EQ(items.GetItem(index), errors::kSubscriptOutOfRange) << index;
    EXPECT_EQ(items.title, kTitleSentinel);
    EXPECT_EQ(items.modified, kTimeSentinel);
    EXPECT_EQ(items.ExportItem(index, u"/out/card"), errors::kSubscriptOutOfRange) << index;
    EXPECT_TRUE(items.fake.disk->files.empty());
    EXPECT_EQ(items.book->calls.reads, 0);
    EXPECT_TRUE(items.LibraryReleased());
  }
}

TEST(WabItems, GetItemMovesTheModificationTimeByTheExactOffset) {
  const struct {
    Zone zone;
    std::string expected;
  } rows[] = {
      {{Zone::kUnknown, -480, 0, 0}, "2005-03-01 04:00:00"},
      {{Zone::kDaylight, 300, 0, -60}, "2005-03-01 16:00:00"},
      {{Zone::kUnknown, -330, 0, 0}, "2005-03-01 06:30:00"},
      {{Zone::kUnknown, 210, 0, 0}, "2005-03-01 15:30:00"},
  };
  Items items;
  items.AddAnnWithTime();
  for (const auto& row : rows) {
    items.time_zone->zone = row.zone;
    EXPECT_EQ(items.GetItem(1), 0);
    EXPECT_EQ(items.title, u"Ann Lee");
    EXPECT_EQ(Stamp(items.modified), row.expected);
    EXPECT_TRUE(items.LibraryReleased());
  }
}

TEST(WabItems, GetItemLeavesWhatItDoesNotReadAsPassed) {
  const struct {
    FakeEntry entry;
    int32_t result;
    std::u16string title;
  } rows[] = {
      {FakeEntry().Text(PR_SURNAME, "Lee"), 0, kTitleSentinel},  // a time never read is not moved
      {FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Unreadable(PR_LAST_MODIFICATION_TIME),
       errors::kTypeMismatch, u"Ann"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.result);
    Items items;
    items.book->entries = {row.entry};
    items.time_zone->zone = {Zone::kUnknown, -330, 0, 0};
    EXPECT_EQ(items.GetItem(1), row.result);
    EXPECT_EQ(items.title, row.title);
    EXPECT_EQ(items.modified, kTimeSentinel);
    EXPECT_TRUE(items.LibraryReleased());
  }
}

TEST(WabItems, EmptyOrMissingBookLeavesEverythingAsPassed) {
  for (const bool open_fails : {false, true}) {
    SCOPED_TRACE(open_fails);
    Items items;
    items.book->failures.open = open_fails;
    EXPECT_EQ(items.GetItem(1), 0);
    EXPECT_EQ(items.ExportItem(1, u"/out/card"), 0);
    EXPECT_EQ(items.title, kTitleSentinel);
    EXPECT_EQ(items.modified, kTimeSentinel);
    EXPECT_TRUE(items.fake.disk->files.empty());
    EXPECT_EQ(items.book->calls.close, open_fails ? 0 : 2);
    EXPECT_TRUE(items.LibraryReleased());
  }
}

TEST(WabItems, ExportItemReplacesTheFileWithTheCardAloneAndLeavesTheRunAlone) {
  Items items;
  items.AddEntries({"Ann Lee"});
  items.fake.disk->AddFile(u"/out/ann.vcf", "an older card\r\n");
  EXPECT_EQ(items.ExportItem(1, u"/out/ann"), 0);
  EXPECT_EQ(items.File(u"/out/ann.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:Ann Lee\r\nEND:VCARD\r\n");
  EXPECT_TRUE(items.events->lines.empty());
  EXPECT_EQ(items.module.ThreadState().CurrentCount, 0);
  EXPECT_EQ(items.module.ThreadState().LogText, u"");
  EXPECT_TRUE(items.LibraryReleased());
}

TEST(WabItems, ExportItemPassesFileErrorsOnAndStillClosesTheLibrary) {
  for (const auto& [fails, filename, error] :
       {std::tuple{"AppendToFile", u"/out/ann", errors::kDiskFull},
        std::tuple{"", u"/nowhere/ann", errors::kPathNotFound}}) {  // "": the folder is missing
    SCOPED_TRACE(error);
    Items items;
    items.AddEntries({"Ann Lee"});
    items.fake.disk->before = [&](const std::string& operation, const std::u16string&) {
      if (operation == fails) throw Error(error);
    };
    EXPECT_EQ(items.ExportItem(1, filename), error);
    EXPECT_TRUE(items.LibraryReleased());
  }
}

TEST(WabItems, FortyThousandEntriesCannotBeCountedButEntry32767CanBeRead) {
  Items items;
  for (int k = 1; k <= 40000; ++k) items.AddEntries({std::to_string(k)});
  EXPECT_EQ(items.component.itemcount(kAddressBook), -1);
  EXPECT_EQ(items.GetItem(32767), 0);
  EXPECT_EQ(items.title, u"32767");
  EXPECT_EQ(items.ExportItem(32767, u"/out/last"), 0);
  EXPECT_EQ(items.File(u"/out/last.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:32767\r\nEND:VCARD\r\n");
  EXPECT_TRUE(items.LibraryReleased());
}

TEST(WabItems, CallsMadeWhileAnOperationYieldsAreRefusedWith10) {
  Items items;
  items.AddAnnWithTime();
  int16_t count_inside = 0;
  int32_t get_item_inside = 0;
  items.fake.message_loop->SetHook([&] {
    std::u16string inner_title;
    AutomationDate inner_time = 0;
    count_inside = items.component.itemcount(kAddressBook);
    get_item_inside = items.component.GetItem(1, kAddressBook, inner_title, inner_time);
  });
  EXPECT_EQ(items.GetItem(1), 0);
  EXPECT_EQ(count_inside, -1);
  EXPECT_EQ(get_item_inside, errors::kArrayLocked);
  EXPECT_EQ(items.title, u"Ann Lee");
  EXPECT_EQ(Stamp(items.modified), "2005-03-01 12:00:00");
  EXPECT_EQ(items.book->calls.open, 1) << "the refused calls never reached the library";
  EXPECT_TRUE(items.LibraryReleased());
}

}  // namespace
}  // namespace orvane::testing
