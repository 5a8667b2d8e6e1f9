#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/address_book_source.h"
#include "addressbook/property_reader.h"
#include "addressbook/tests/fake_call.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

using namespace tags;
constexpr int16_t kAddressBook = 3;
using Files = std::vector<std::u16string>;
using Events = std::vector<std::string>;
using Zone = TimeZoneInformation;
const std::u16string kTitleSentinel = u"(title as passed)";
const AutomationDate kTimeSentinel = AutomationDateFromParts({2000, 1, 1, 0, 0, 0});
const std::string kStart = "[Export starting time:06.12.2026 09:05:07]\r\n";
const std::string kHeader = kStart + "Contact:\r\n";
const std::string kFinish = "--Address book export finish--";
const std::string kCancel = "--Address book export cancel--\r\n";

// The log lines of the first entries of a run.
std::string Logged(const std::vector<std::string>& names) {
  std::string lines;
  for (size_t k = 0; k < names.size(); ++k) {
    lines += std::to_string(k + 1) + "\x01" + names[k] + "\r\n";
  }
  return lines;
}

std::string CardNamed(const std::string& name) {
  return "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

// The component over the fakes, with sentinels in the out parameters of GetItem; single
// items go to /out/card.vcf, whole runs to /out with the log in /app/run.log.
struct WabComponent : WabPlatform {
  WabComponent() { component.Advise(events); }

  void AddEntries(std::initializer_list<std::string> display_names) {
    for (const std::string& name : display_names) {
      book->entries.push_back(FakeEntry().Text(PR_DISPLAY_NAME, name));
    }
  }
  int32_t GetItem(int16_t ItemIdx) {
    return component.GetItem(ItemIdx, kAddressBook, title, modified);
  }
  int32_t ExportItem(int16_t ItemIdx) {
    std::u16string filename = u"/out/card";
    return component.ExportItem2(ItemIdx, kAddressBook, filename);
  }
  int32_t Export(std::optional<int16_t> ExportMode = std::nullopt) {
    return component.Export2(u"/out", u"", kAddressBook, ExportMode, u"run.log");
  }
  // Fails `operation` on the working file of entry 2.
  void FailOnSecond(const std::string& operation, int32_t error) {
    fake.disk->before = [=](const std::string& done, const std::u16string& path) {
      if (done == operation && path == u"/app/tmp/run-1/ExpressvCard2.vcf") throw Error(error);
    };
  }
  // The library closed, every fetched entry freed, and WabEntries back to its single element.
  bool LibraryReleased() {
    return !book->session_open && !book->entries_outstanding &&
           module.ThreadState().WabEntries.size() == 1;
  }
  std::string File(const std::u16string& path) const {
    const auto found = fake.disk->files.find(path);
    return found == fake.disk->files.end() ? "(no file)" : found->second;
  }
  std::string Log() const { return File(u"/app/run.log"); }
  Files Destination() const { return fake.disk->List(u"/out"); }

  Module module{Services(), {nullptr, nullptr, MakeAddressBookSource()}};
  Orvane2 component{module};
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();
  std::u16string title = kTitleSentinel;
  AutomationDate modified = kTimeSentinel;
};

TEST(WabItems, ItemCountNarrowsTheLibraryCount) {
  for (const auto& [reported, expected] : {std::pair{32767, 32767}, std::pair{-40000, -1}}) {
    WabComponent wab;
    wab.book->entry_count = reported;
    EXPECT_EQ(wab.component.itemcount(kAddressBook), expected) << reported;
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST(WabItems, IndexOutsideTheEntriesFailsWith9AndTouchesNothing) {
  for (const int16_t index : {int16_t{0}, int16_t{4}}) {
    WabComponent wab;
    wab.AddEntries({"Ann", "Bo", "Cy"});
    EXPECT_EQ(wab.GetItem(index), errors::kSubscriptOutOfRange) << index;
    EXPECT_EQ(wab.ExportItem(index), errors::kSubscriptOutOfRange) << index;
    EXPECT_EQ(wab.title, kTitleSentinel);
    EXPECT_EQ(wab.modified, kTimeSentinel);
    EXPECT_TRUE(wab.Destination().empty());
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST(WabItems, GetItemMovesOnlyATimeItReadAndByTheExactOffset) {
  const FileTime noon = FileTimeOf({2005, 3, 1, 12, 0, 0}, 250);
  const struct {
    FakeEntry entry;
    int32_t result;
    std::u16string title;
    std::string modified;
  } rows[] = {
      {FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Time(PR_LAST_MODIFICATION_TIME, noon), 0, u"Ann",
       "2005-03-01 15:30:00"},
      {FakeEntry().Text(PR_SURNAME, "Lee"), 0, kTitleSentinel, "2000-01-01"},
      {FakeEntry().Text(PR_DISPLAY_NAME, "Leap").Time(PR_LAST_MODIFICATION_TIME,
                                                      FileTimeOf({2024, 2, 28, 20, 30, 0})),
       0, u"Leap", "2024-02-29"},
      // A time the library cannot read: stored as a text.
      {FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Text(PR_LAST_MODIFICATION_TIME, "noon"),
       errors::kTypeMismatch, u"Ann", "2000-01-01"},
  };
  for (const auto& row : rows) {
    WabComponent wab;
    wab.book->entries = {row.entry};
    wab.time_zone->zone = {Zone::kUnknown, 210, 0, 0};
    EXPECT_EQ(wab.GetItem(1), row.result);
    EXPECT_EQ(wab.title, row.title);
    std::u16string modified;
    AppendWabDateText(wab.modified, modified);
    EXPECT_EQ(Narrow(modified), row.modified);
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST(WabItems, ExportItemReplacesTheFileWithTheCardAloneAndLeavesTheRunAlone) {
  WabComponent wab;
  wab.AddEntries({"Ann Lee"});
  wab.fake.disk->AddFile(u"/out/card.vcf", "an older card\r\n");
  EXPECT_EQ(wab.ExportItem(1), 0);
  EXPECT_EQ(wab.File(u"/out/card.vcf"), CardNamed("Ann Lee"));
  EXPECT_TRUE(wab.events->lines.empty());
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabItems, CallsMadeWhileAnOperationYieldsAreRefusedWith10) {
  WabComponent wab;
  wab.AddEntries({"Ann Lee"});
  int32_t get_item_inside = 0;
  wab.fake.message_loop->SetHook([&] {
    std::u16string inner_title;
    AutomationDate inner_time = 0;
    get_item_inside = wab.component.GetItem(1, kAddressBook, inner_title, inner_time);
  });
  EXPECT_EQ(wab.GetItem(1), 0);
  EXPECT_EQ(get_item_inside, errors::kArrayLocked);
  EXPECT_EQ(wab.title, u"Ann Lee");
  EXPECT_EQ(wab.book->opens, 1) << "the refused calls never reached the library";
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabItemsAndRun, EmptyOrMissingBookChangesNothingAndEndsTheRunWithItsNotice) {
  for (const bool open_fails : {false, true}) {
    SCOPED_TRACE(open_fails);
    WabComponent wab;
    wab.book->open_fails = open_fails;
    const std::string notice = open_fails ? "Does not exist any address book" : "No Contacts";
    EXPECT_EQ(wab.component.itemcount(kAddressBook), 0);
    EXPECT_EQ(wab.GetItem(1), 0);
    EXPECT_EQ(wab.ExportItem(1), 0);
    EXPECT_EQ(wab.title, kTitleSentinel);
    EXPECT_EQ(wab.modified, kTimeSentinel);
    EXPECT_EQ(wab.Export(), 0);
    EXPECT_TRUE(wab.Destination().empty());
    EXPECT_EQ(wab.events->lines, (Events{"progress 0 0 " + notice, "done [] [/app/run.log]"}));
    EXPECT_EQ(wab.Log(), kStart + notice + "\r\n--Address book export end--\r\n");
    EXPECT_EQ(wab.book->closes, open_fails ? 1 : 4) << "the count closes even a failed open";
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST(WabItemsAndRun, FortyThousandEntriesEndTheRunAndCannotBeCountedButEntry32767CanBeRead) {
  WabComponent wab;
  for (int k = 1; k <= 40000; ++k) wab.AddEntries({std::to_string(k)});
  EXPECT_EQ(wab.Export(), errors::kOverflow);
  EXPECT_EQ(wab.events->lines, (Events{"progress 0 0 Contact:", "done [Overflow] [/app/run.log]"}));
  EXPECT_TRUE(wab.Destination().empty());
  EXPECT_EQ(wab.Log(), kHeader + "\r\n") << "no closing lines";
  EXPECT_EQ(wab.component.itemcount(kAddressBook), -1);
  EXPECT_EQ(wab.GetItem(32767), 0);
  EXPECT_EQ(wab.title, u"32767");
  EXPECT_EQ(wab.ExportItem(32767), 0);
  EXPECT_EQ(wab.File(u"/out/card.vcf"), CardNamed("32767"));
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabExportRun, ThreeEntriesEndToEndReplacingAFileInTheDestination) {
  WabComponent wab;
  wab.AddEntries({"Ann", "Bo", "Cy"});
  wab.fake.disk->AddFile(u"/out/ExpressvCard2.vcf", "an older card\r\n");
  EXPECT_EQ(wab.Export(), 0);
  EXPECT_EQ(wab.Destination(),
            (Files{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf", u"ExpressvCard3.vcf"}));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard1.vcf"), CardNamed("Ann"));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard2.vcf"), CardNamed("Bo"));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard3.vcf"), CardNamed("Cy"));
  EXPECT_EQ(wab.events->lines,
            (Events{"progress 3 0 Contact:", "progress 3 1 Ann", "progress 3 2 Bo",
                    "progress 3 3 Cy", "progress 3 3 " + kFinish, "done [] [/app/run.log]"}));
  EXPECT_EQ(wab.Log(),
            kHeader + Logged({"Ann", "Bo", "Cy"}) + "Export Data Count:3\r\n" + kFinish + "\r\n");
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabExportRun, StopFromAnEventHandlerFinishesThatEntryOnly) {
  const std::vector<std::string> names = {"Ann", "Bo", "Cy", "Di", "Ed"};
  for (const size_t stopped_at : {2, 5}) {  // the last entry still gives the stopped ending
    const std::string event =
        "progress 5 " + std::to_string(stopped_at) + " " + names[stopped_at - 1];
    WabComponent wab;
    wab.AddEntries({"Ann", "Bo", "Cy", "Di", "Ed"});
    wab.events->on_event = [&](const std::string& line) {
      if (line == event) wab.component.ExportBreak();
    };
    EXPECT_EQ(wab.Export(), 0);
    EXPECT_EQ(wab.Destination().size(), stopped_at);
    EXPECT_EQ(wab.Log(), kHeader + Logged({names.begin(), names.begin() + stopped_at}) + kCancel);
    EXPECT_EQ(wab.events->lines.end()[-2], event) << "no further progress";
    EXPECT_TRUE(wab.LibraryReleased());
  }
}

TEST(WabExportRun, LoopRunsOverTheEntriesTheLibraryFilled) {
  WabComponent wab;
  wab.AddEntries({"Ann", "Bo", "Cy"});
  wab.book->fill_only = 2;
  EXPECT_EQ(wab.Export(), 0);
  EXPECT_EQ(wab.Destination(), (Files{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}));
  EXPECT_EQ(wab.events->lines.end()[-2], "progress 3 2 " + kFinish);
  EXPECT_EQ(wab.Log(),
            kHeader + Logged({"Ann", "Bo"}) + "Export Data Count:2\r\n" + kFinish + "\r\n");
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabExportRun, FailingCopyIsShownAndStopsTheRunAfterThatEntry) {
  WabComponent wab;
  wab.AddEntries({"Ann", "Bo", "Cy"});
  wab.FailOnSecond("CopyFile", errors::kPermissionDenied);
  EXPECT_EQ(wab.Export(), 0);
  ASSERT_EQ(wab.fake.message_box->shown.size(), 1u);
  EXPECT_EQ(wab.fake.message_box->shown[0].first, u"Permission denied");
  EXPECT_EQ(wab.fake.message_box->shown[0].second, MessageBoxKind::kCritical);
  EXPECT_EQ(wab.Destination(), (Files{u"ExpressvCard1.vcf"}));
  EXPECT_EQ(std::ranges::count(wab.fake.disk->operations, "DeleteFile /app/tmp/run-1/ExpressvCard2.vcf"),
            1);
  EXPECT_EQ(wab.Log(), kHeader + Logged({"Ann", "Bo"}) + kCancel);
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabExportRun, FailingWriteEndsTheRunAndClosesTheLibrary) {
  WabComponent wab;
  wab.AddEntries({"Ann", "Bo", "Cy"});
  wab.FailOnSecond("AppendToFile", errors::kDiskFull);
  EXPECT_EQ(wab.Export(), errors::kDiskFull);
  EXPECT_EQ(wab.File(u"/out/ExpressvCard3.vcf"), "(no file)");
  EXPECT_EQ(wab.Log(), kHeader + Logged({"Ann", "Bo"}) + "\r\n") << "no closing lines";
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST(WabExportRun, CombinedModeGathersEveryCardIntoOneFile) {
  WabComponent wab;
  wab.AddEntries({"Ann", "Bo"});
  wab.fake.disk->AddFolder(u"/app/tmp");
  wab.fake.disk->AddFile(u"/app/tmp/ExpressvCard.vcf", "left by an earlier run\r\n");
  EXPECT_EQ(wab.Export(1), 0);
  EXPECT_EQ(wab.File(u"/out/ExpressvCard.vcf"), CardNamed("Ann") + CardNamed("Bo"));
  EXPECT_EQ(wab.File(u"/app/tmp/ExpressvCard.vcf"), "left by an earlier run\r\n");
  EXPECT_EQ(wab.Destination(),
            (Files{u"ExpressvCard.vcf", u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}));
}

}  // namespace
}  // namespace orvane::testing
