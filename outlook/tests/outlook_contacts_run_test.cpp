#include <gtest/gtest.h>

#include <algorithm>

#include "outlook/tests/outlook_component.h"

namespace orvane::testing {
namespace {

const std::string kFinish = "--Address book export finish--";
const std::string kCancel = "--Address book export cancel--";

std::string FolderLines(const std::string& name) { return "Folder:" + name + "\r\nName:\r\n"; }

Files Cards(size_t count) { return Numbered(kContacts, count); }
// Contacts (Ann, Bo) with the subfolders, walked in this order:
//   Work, contacts (Cy, Di, Ed)
//   Notes, notes (a note), with Old below it, contacts (Fay)
//   Empty, contacts without items
//   Shared, "ipm.contact" (Gus): not exactly a contacts folder
struct TreeComponent : OutlookComponent {
  TreeComponent() {
    auto& m = *mail;
    const auto notes = m.Folder(u"Notes", u"IPM.StickyNote");
    notes->Add(m.ItemOfClass(44, u"Memo")).Add(m.Folder(u"Old", u"IPM.Contact"));
    notes->subfolders[0]->Add(m.Contact(u"Fay"));
    const auto work = m.Folder(u"Work", u"IPM.Contact");
    work->Add(m.Contact(u"Cy")).Add(m.Contact(u"Di")).Add(m.Contact(u"Ed"));
    const auto shared = m.Folder(u"Shared", u"ipm.contact");
    shared->Add(m.Contact(u"Gus"));
    m.contacts->Add(m.Contact(u"Ann")).Add(m.Contact(u"Bo"));
    m.contacts->Add(work).Add(notes).Add(m.Folder(u"Empty", u"IPM.Contact")).Add(shared);
  }
};

// What the whole walk of the tree raises and logs before its end.
const Events kWalk = {"progress 3 0 Work",     "progress 3 1 Cy",  "progress 3 2 Di",
                      "progress 3 3 Ed",       "progress 1 0 Old", "progress 1 1 Fay",
                      "progress 2 0 Contacts", "progress 2 1 Ann", "progress 2 2 Bo"};
const std::string kWorkLog = FolderLines("Work") + Logged(1, {"Cy", "Di", "Ed"});
const std::string kOldLog = FolderLines("Old") + Logged(4, {"Fay"});
const std::string kWalkLog =
    kWorkLog + kOldLog + FolderLines("Contacts") + Logged(5, {"Ann", "Bo"});

TEST(ContactsExport, ContactsAndAListEndToEnd) {
  OutlookComponent outlook;
  auto& m = *outlook.mail;
  m.contacts->Add(m.Contact(u"Ann")).Add(m.DistributionList(u"Team")).Add(m.Contact(u"Bo"));
  m.contacts->Add(m.Contact(u"Cy"));
  outlook.fake.disk->AddFile(u"/out/OutlookvCard2.vcf", "an older card\r\n");
  outlook.CountYields();
  outlook.WatchWorkingFolder();

  EXPECT_EQ(outlook.Export(kContacts), 0);
  outlook.ExpectWritten(kContacts, {"Ann", "Bo", "Cy"});
  EXPECT_EQ(outlook.events->lines,
            (Events{"progress 4 0 Contacts", "progress 4 1 Ann", "progress 3 1 Ann",
                    "progress 3 2 Bo", "progress 3 3 Cy", "progress 3 3 " + kFinish, kDone}));
  EXPECT_EQ(outlook.Log(), kStart + FolderLines("Contacts") + Logged(1, {"Ann", "Bo", "Cy"}) +
                               EndLines(3, kFinish));
  EXPECT_EQ(outlook.yields, 4) << "once per item, the list included";
  EXPECT_TRUE(outlook.working_files_seen.empty()) << outlook.working_files_seen[0];
  EXPECT_TRUE(outlook.fake.message_box->shown.empty());
}

TEST(ContactsExport, EmptyContactsFolderWritesOnlyTheEndLines) {
  OutlookComponent outlook;
  EXPECT_EQ(outlook.Export(kContacts), 0);
  EXPECT_TRUE(outlook.Destination().empty());
  EXPECT_EQ(outlook.events->lines, (Events{"progress 0 0 " + kFinish, kDone}));
  EXPECT_EQ(outlook.Log(), kStart + EndLines(0, kFinish));
}

// Each contacts folder restarting at file 1 would let the default folder's
// contacts replace those of the subfolders walked before it.
TEST(ContactsExport, FileNumbersRunThroughTheWholeTreeSoNoContactIsReplaced) {
  TreeComponent outlook;
  outlook.CountYields();
  EXPECT_EQ(outlook.Export(kContacts), 0);
  outlook.ExpectWritten(kContacts, {"Cy", "Di", "Ed", "Fay", "Ann", "Bo"});
  EXPECT_EQ(outlook.yields, 6) << "only the items of contacts folders are walked";
}

// The whole walk, and walks stopped from an event handler: the contact being exported is
// finished; later folders still log their lines and raise one event, but export nothing.
// The end notice repeats the counts of the last progress.
TEST(ContactsExport, StopFromAnEventHandlerFinishesThatContactOnly) {
  const struct {
    std::string stop_on;  // "": not stopped
    size_t written;
    Events events;    // before the end notice
    std::string log;  // before the end lines
  } rows[] = {
      {"", 6, kWalk, kWalkLog},
      {"progress 3 2 Di", 2,
       {"progress 3 0 Work", "progress 3 1 Cy", "progress 3 2 Di", "progress 1 0 Old",
        "progress 2 0 Contacts"},
       FolderLines("Work") + Logged(1, {"Cy", "Di"}) + FolderLines("Old") +
           FolderLines("Contacts")},
      {"progress 2 1 Ann", 5, Events(kWalk.begin(), kWalk.end() - 1),
       kWorkLog + kOldLog + FolderLines("Contacts") + Logged(5, {"Ann"})},
      // Stopped on the very last contact: nothing is left, but the run was stopped.
      {"progress 2 2 Bo", 6, kWalk, kWalkLog},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stop_on);
    TreeComponent outlook;
    outlook.events->on_event = [&](const std::string& line) {
      if (line == row.stop_on) outlook.component.ExportBreak();
    };
    const std::string& notice = row.stop_on.empty() ? kFinish : kCancel;
    Events events = row.events;
    events.insert(events.end(), {events.back().substr(0, 13) + notice, kDone});
    EXPECT_EQ(outlook.Export(kContacts), 0);
    EXPECT_EQ(outlook.Destination(), Cards(row.written));
    EXPECT_EQ(outlook.events->lines, events);
    EXPECT_EQ(outlook.Log(), kStart + row.log + EndLines(static_cast<int>(row.written), notice));
  }
}

TEST(ContactsExport, FailingCopyIsShownAndStopsTheRunAfterThatContact) {
  const std::u16string second = kWorking + u"OutlookvCard2.vcf";
  const struct {
    const char* failing;
    int fail_exists, fail_copy;
    Files written;
    Boxes boxes;
  } rows[] = {
      {"the copy", 0, 1, Cards(1), {Critical(u"Permission denied")}},
      // A failing existence test still lets the copy be tried.
      {"the existence test", 1, 0, Cards(2), {Critical(u"Path/File access error")}},
      {"both", 1, 1, Cards(1),
       {Critical(u"Path/File access error"), Critical(u"Permission denied")}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing);
    OutlookComponent outlook;
    auto& m = *outlook.mail;
    m.contacts->Add(m.Contact(u"Ann")).Add(m.Contact(u"Bo")).Add(m.Contact(u"Cy"));
    int exists_failures = row.fail_exists;
    outlook.fake.disk->before = [&](const std::string& operation, const std::u16string& path) {
      if (path != second) return;
      if (operation == "FileExists" && exists_failures-- > 0) {
        throw Error(errors::kPathFileAccessError);
      }
      if (operation == "CopyFile" && row.fail_copy) throw Error(errors::kPermissionDenied);
    };
    EXPECT_EQ(outlook.Export(kContacts), 0);
    EXPECT_EQ(outlook.fake.message_box->shown, row.boxes);
    EXPECT_EQ(outlook.Destination(), row.written);
    EXPECT_EQ(outlook.Log(), kStart + FolderLines("Contacts") + Logged(1, {"Ann", "Bo"}) +
                                 EndLines(2, kCancel));
    EXPECT_EQ(std::ranges::count(outlook.fake.disk->operations, "DeleteFile " + Narrow(second)), 1);
  }
}

TEST(ContactsExport, OtherFailuresEndTheRunWithTheirError) {
  const struct {
    const char* failing;
    std::function<void(TreeComponent&)> arrange;
    int32_t result;
    std::string log;
  } rows[] = {
      {"the contacts of Old cannot be read",
       [](TreeComponent& c) { c.mail->contacts->subfolders[1]->subfolders[0]->items_error = 70; },
       70, kWorkLog},
      {"Fay cannot be saved",
       [](TreeComponent& c) {
         c.mail->contacts->subfolders[1]->subfolders[0]->items[0]->save_error = 61;
       },
       61, kWorkLog + kOldLog},
      {"Di cannot be removed from the working folder",
       [](TreeComponent& c) { c.Fail("DeleteFile", kWorking + u"OutlookvCard2.vcf", 75); }, 75,
       FolderLines("Work") + Logged(1, {"Cy", "Di"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing);
    TreeComponent outlook;
    row.arrange(outlook);
    EXPECT_EQ(outlook.Export(kContacts), row.result);
    EXPECT_EQ(outlook.Log(), kStart + row.log + "\r\n") << "no end lines";
    EXPECT_EQ(outlook.events->lines.back(), DoneWith(row.result));
  }
}

TEST(ContactsExport, CombinedModeGathersEveryContactOfTheRunIntoOneFile) {
  TreeComponent outlook;
  outlook.fake.disk->AddFolder(u"/app/tmp");
  outlook.fake.disk->AddFile(u"/app/tmp/OutlookvCard.vcf", "left by an earlier run\r\n");
  EXPECT_EQ(outlook.Export(kContacts, 1), 0);
  EXPECT_EQ(outlook.File(u"/app/tmp/OutlookvCard.vcf"), "left by an earlier run\r\n");
  EXPECT_EQ(outlook.File(u"/out/OutlookvCard.vcf"),
            "vCard of Cy\r\nvCard of Di\r\nvCard of Ed\r\nvCard of Fay\r\nvCard of Ann\r\n"
            "vCard of Bo\r\n");
  Files expected = Cards(6);
  expected.insert(expected.begin(), u"OutlookvCard.vcf");
  EXPECT_EQ(outlook.Destination(), expected);

  TreeComponent unreadable;
  unreadable.Fail("ReadFileBytes", kWorking + u"OutlookvCard2.vcf", 70);
  EXPECT_EQ(unreadable.Export(kContacts, 1), 70);
  EXPECT_EQ(unreadable.Destination(), Cards(1)) << "no combined file that lacks a contact";
}

}  // namespace
}  // namespace orvane::testing
