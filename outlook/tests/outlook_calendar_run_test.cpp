#include <gtest/gtest.h>

#include <functional>

#include "outlook/tests/outlook_component.h"

namespace orvane::testing {
namespace {

const std::string kFinish = "--Calendars export finish--";
const std::string kCancel = "--Calendars export cancel--";
const std::string kFolder = "Folder:Calendar\r\n";

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
  outlook.ExpectWritten(kCalendar, {"A", "B", "C"});
  EXPECT_EQ(outlook.events->lines,
            (Events{"progress 4 0 Calendar", "progress 4 1 A", "progress 3 1 A",
                    "progress 3 2 B", "progress 3 3 C", "progress 3 3 " + kFinish, kDone}));
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
  EXPECT_EQ(outlook.events->lines, (Events{"progress 0 0 ", kDone}));
  EXPECT_EQ(outlook.Log(), kStart + "\r\n");
}

// A stop from an event handler, a failing copy or a saved file that is not there (both
// shown): the run ends after the appointment then being exported, with no further progress.
TEST(CalendarExport, StopOrFailureShownEndsTheRunAfterThatAppointment) {
  const struct {
    const char* what;
    std::function<void(CalendarComponent&)> arrange;  // none: the host stops at `last_progress`
    std::string last_progress;
    std::vector<std::string> logged;
    size_t written;
    Boxes boxes;
  } rows[] = {
      {"stop on A", nullptr, "progress 4 1 A", {"A"}, 1, {}},
      {"stop on B", nullptr, "progress 3 2 B", {"A", "B"}, 2, {}},
      {"stop on C", nullptr, "progress 3 3 C", {"A", "B", "C"}, 3, {}},
      {"the copy of A fails",
       [](CalendarComponent& c) {
         c.Fail("CopyFile", kWorking + u"OutlookvCal1.vcs", errors::kDiskFull);
       },
       "progress 4 1 A", {"A"}, 0, {Critical(u"Disk full")}},
      {"B saves no file",
       [](CalendarComponent& c) { c.mail->calendar->items[2]->saves_nothing = true; },
       "progress 3 2 B", {"A", "B"}, 1, {Critical(u"File not found")}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CalendarComponent outlook;
    if (row.arrange) {
      row.arrange(outlook);
    } else {
      outlook.events->on_event = [&](const std::string& line) {
        if (line == row.last_progress) outlook.component.ExportBreak();
      };
    }
    EXPECT_EQ(outlook.Export(kCalendar), 0);
    EXPECT_EQ(outlook.fake.message_box->shown, row.boxes);
    EXPECT_EQ(outlook.Destination(), Numbered(kCalendar, row.written));
    EXPECT_EQ(outlook.Log(), kStart + kFolder + Logged(1, row.logged) +
                                 EndLines(static_cast<int>(row.logged.size()), kCancel));
    const Events& events = outlook.events->lines;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(Events(events.end() - 3, events.end()),
              (Events{row.last_progress, row.last_progress.substr(0, 13) + kCancel, kDone}));
  }
}

// Before the first copy as after it: an unreadable calendar or an entry that cannot be
// written is never logged as exported, and the run reports the failure.
TEST(CalendarExport, FailuresOutsideTheCopyEndTheRunWithTheirError) {
  const struct {
    const char* failing;
    std::function<void(CalendarComponent&)> arrange;
    int32_t result;
    std::string log;
    size_t written;
  } rows[] = {
      {"the calendar cannot be read",
       [](CalendarComponent& c) { c.mail->calendar->items_error = 70; }, 70, "", 0},
      {"A cannot be saved",
       [](CalendarComponent& c) { c.mail->calendar->items[0]->save_error = 61; }, 61, kFolder, 0},
      {"the working folder is gone when A is saved",
       [](CalendarComponent& c) {
         c.events->on_event = [&c](const std::string&) {
           c.fake.disk->folders.erase(u"/app/tmp/run-1");
         };
       },
       errors::kPathNotFound, kFolder, 0},
      {"B cannot be saved",
       [](CalendarComponent& c) { c.mail->calendar->items[2]->save_error = 61; }, 61,
       kFolder + Logged(1, {"A"}), 1},
      {"the second item is no appointment",
       [](CalendarComponent& c) { c.mail->calendar->items[1] = c.mail->ItemOfClass(44, u"Memo"); },
       errors::kTypeMismatch, kFolder + Logged(1, {"A"}), 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing);
    CalendarComponent outlook;
    row.arrange(outlook);
    EXPECT_EQ(outlook.Export(kCalendar), row.result);
    EXPECT_EQ(outlook.Log(), kStart + row.log + "\r\n") << "no end lines";
    EXPECT_EQ(outlook.Destination(), Numbered(kCalendar, row.written));
    EXPECT_EQ(outlook.events->lines.back(), DoneWith(row.result));
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
