#include <gtest/gtest.h>

#include <functional>

#include "outlook/tests/outlook_component.h"

namespace orvane::testing {
namespace {

const std::string kFinish = "--Calendars export finish--";
const std::string kCancel = "--Calendars export cancel--";
const std::string kFolder = "Folder:Calendar\r\n";

std::string EndLines(int count, const std::string& notice) {
  return "Export Data Count:" + std::to_string(count) + "\r\n" + notice + "\r\n";
}

const Files kThreeFiles = {u"OutlookvCal1.vcs", u"OutlookvCal2.vcs", u"OutlookvCal3.vcs"};

// The calendar holds A, the recurring R, B and C; a subfolder holds D.
struct CalendarComponent : OutlookComponent {
  CalendarComponent() {
    auto& m = *mail;
    m.calendar->Add(m.Appointment(u"A")).Add(m.Appointment(u"R", 0, 1));
    m.calendar->Add(m.Appointment(u"B")).Add(m.Appointment(u"C"));
    m.calendar->Add(m.Folder(u"Holidays", u"IPM.Appointment"));
    m.calendar->subfolders[0]->Add(m.Appointment(u"D"));
  }
};

TEST(CalendarExport, SingleAppointmentsEndToEndAndTheRecurringOneLeavesTheTotal) {
  CalendarComponent outlook;
  outlook.fake.disk->AddFile(u"/out/OutlookvCal2.vcs", "an older entry\r\n");
  outlook.CountYields();
  outlook.WatchWorkingFolder();

  EXPECT_EQ(outlook.Export(kCalendar), 0);
  EXPECT_EQ(outlook.Destination(), kThreeFiles);
  EXPECT_EQ(outlook.File(u"/out/OutlookvCal1.vcs"), "vCalendar of A\r\n");
  EXPECT_EQ(outlook.File(u"/out/OutlookvCal2.vcs"), "vCalendar of B\r\n");
  EXPECT_EQ(outlook.File(u"/out/OutlookvCal3.vcs"), "vCalendar of C\r\n");
  EXPECT_EQ(outlook.events->lines,
            (Events{"progress 4 0 Calendar", "progress 4 1 A", "progress 3 1 A",
                    "progress 3 2 B", "progress 3 3 C", "progress 3 3 " + kFinish,
                    "done [] [/app/run.log]"}));
  EXPECT_EQ(outlook.Log(), kStart + kFolder + Logged(1, {"A", "B", "C"}) + EndLines(3, kFinish));
  EXPECT_EQ(outlook.yields, 4);
  EXPECT_TRUE(outlook.working_files_seen.empty()) << outlook.working_files_seen[0];
  EXPECT_EQ(outlook.component.itemcount(kCalendar), 4) << "the count has the recurring one";
}

TEST(CalendarExport, EmptyCalendarAddsNoLines) {
  OutlookComponent outlook;
  outlook.mail->calendar->Add(outlook.mail->Folder(u"Holidays", u"IPM.Appointment"));
  outlook.mail->calendar->subfolders[0]->Add(outlook.mail->Appointment(u"D"));
  EXPECT_EQ(outlook.Export(kCalendar), 0);
  EXPECT_TRUE(outlook.Destination().empty());
  EXPECT_EQ(outlook.events->lines, (Events{"progress 0 0 ", "done [] [/app/run.log]"}));
  EXPECT_EQ(outlook.Log(), kStart + "\r\n");
}

TEST(CalendarExport, StopFromAnEventHandlerFinishesThatAppointmentOnly) {
  const struct {
    std::string stop_on;
    Files written;
    std::vector<std::string> logged;
  } rows[] = {
      {"progress 4 1 A", {u"OutlookvCal1.vcs"}, {"A"}},
      {"progress 3 2 B", {u"OutlookvCal1.vcs", u"OutlookvCal2.vcs"}, {"A", "B"}},
      {"progress 3 3 C", kThreeFiles, {"A", "B", "C"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stop_on);
    CalendarComponent outlook;
    outlook.events->on_event = [&](const std::string& line) {
      if (line == row.stop_on) outlook.component.ExportBreak();
    };
    EXPECT_EQ(outlook.Export(kCalendar), 0);
    EXPECT_EQ(outlook.Destination(), row.written);
    const int count = static_cast<int>(row.logged.size());
    EXPECT_EQ(outlook.Log(), kStart + kFolder + Logged(1, row.logged) + EndLines(count, kCancel));
    EXPECT_EQ(outlook.events->lines.end()[-3], row.stop_on) << "no further progress";
    EXPECT_EQ(outlook.events->lines.end()[-2], row.stop_on.substr(0, 13) + kCancel);
  }
}

TEST(CalendarExport, FailingCopyIsShownAndStopsTheRunAfterThatAppointment) {
  CalendarComponent outlook;
  outlook.Fail("CopyFile", kWorking + u"OutlookvCal1.vcs", errors::kDiskFull);
  EXPECT_EQ(outlook.Export(kCalendar), 0);
  ASSERT_EQ(outlook.fake.message_box->shown.size(), 1u);
  EXPECT_EQ(outlook.fake.message_box->shown[0].first, u"Disk full");
  EXPECT_EQ(outlook.fake.message_box->shown[0].second, MessageBoxKind::kCritical);
  EXPECT_TRUE(outlook.Destination().empty());
  EXPECT_EQ(outlook.Log(), kStart + kFolder + Logged(1, {"A"}) + EndLines(1, kCancel));
  EXPECT_EQ(outlook.events->lines.end()[-2], "progress 4 1 " + kCancel);
}

TEST(CalendarExport, SavedFileThatIsNotThereIsShownAndStopsTheRun) {
  CalendarComponent outlook;
  outlook.mail->calendar->items[2]->saves_nothing = true;
  EXPECT_EQ(outlook.Export(kCalendar), 0);
  ASSERT_EQ(outlook.fake.message_box->shown.size(), 1u);
  EXPECT_EQ(outlook.fake.message_box->shown[0].first, u"File not found");
  EXPECT_EQ(outlook.Destination(), Files{u"OutlookvCal1.vcs"});
  EXPECT_EQ(outlook.Log(), kStart + kFolder + Logged(1, {"A", "B"}) + EndLines(2, kCancel));
}

// Before the first copy as after it: an unreadable calendar or an entry that cannot be
// written is never logged as exported, and the run reports the failure.
TEST(CalendarExport, FailuresOutsideTheCopyEndTheRunWithTheirError) {
  const struct {
    const char* failing;
    std::function<void(CalendarComponent&)> arrange;
    int32_t result;
    std::string log;
    Files written;
  } rows[] = {
      {"the calendar cannot be read",
       [](CalendarComponent& c) { c.mail->calendar->items_error = 70; }, 70, "", {}},
      {"A cannot be saved",
       [](CalendarComponent& c) { c.mail->calendar->items[0]->save_error = 61; }, 61, kFolder, {}},
      {"the working folder is gone when A is saved",
       [](CalendarComponent& c) {
         c.events->on_event = [&c](const std::string&) {
           c.fake.disk->folders.erase(u"/app/tmp/run-1");
         };
       },
       errors::kPathNotFound, kFolder, {}},
      {"B cannot be saved",
       [](CalendarComponent& c) { c.mail->calendar->items[2]->save_error = 61; }, 61,
       kFolder + Logged(1, {"A"}), {u"OutlookvCal1.vcs"}},
      {"the second item is no appointment",
       [](CalendarComponent& c) { c.mail->calendar->items[1] = c.mail->ItemOfClass(44, u"Memo"); },
       errors::kTypeMismatch, kFolder + Logged(1, {"A"}), {u"OutlookvCal1.vcs"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing);
    CalendarComponent outlook;
    row.arrange(outlook);
    EXPECT_EQ(outlook.Export(kCalendar), row.result);
    EXPECT_EQ(outlook.Log(), kStart + row.log + "\r\n") << "no end lines";
    EXPECT_EQ(outlook.Destination(), row.written);
    EXPECT_EQ(outlook.events->lines.back(),
              "done [" + Narrow(DescriptionOf(row.result)) + "] [/app/run.log]");
    EXPECT_TRUE(outlook.fake.message_box->shown.empty());
  }
}

TEST(CalendarExport, CombinedModeGathersEveryAppointmentIntoOneFile) {
  CalendarComponent outlook;
  outlook.fake.disk->AddFolder(u"/app/tmp");
  outlook.fake.disk->AddFile(u"/app/tmp/plans.vcs", "left by an earlier run\r\n");
  EXPECT_EQ(outlook.component.Export2(u"/out", u"plans", kCalendar, int16_t{1}), 0);
  EXPECT_EQ(outlook.File(u"/app/tmp/plans.vcs"), "left by an earlier run\r\n");
  EXPECT_EQ(outlook.File(u"/out/plans.vcs"),
            "vCalendar of A\r\nvCalendar of B\r\nvCalendar of C\r\n");
  EXPECT_EQ(outlook.Destination(),
            (Files{u"plans.vcs", u"plans1.vcs", u"plans2.vcs", u"plans3.vcs"}));
}

}  // namespace
}  // namespace orvane::testing
