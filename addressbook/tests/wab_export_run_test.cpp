#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addressbook/tests/fake_call.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

const std::string kStart = "[Export starting time:06.12.2026 09:05:07]\r\n";
const std::string kHeader = kStart + "Contact:\r\n";
const std::string kFinish = "--Address book export finish--";
const std::string kCancel = "--Address book export cancel--\r\n";
using Files = std::vector<std::u16string>;
using Events = std::vector<std::string>;

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

struct ExportRun : WabComponent {
  int32_t Export(std::optional<int16_t> ExportMode = std::nullopt) {
    return component.Export2(u"/out", u"", kAddressBook, ExportMode, u"run.log");
  }
  std::string Log() const { return File(u"/app/run.log"); }
  Files Destination() const { return fake.disk->List(u"/out"); }
  // Fails `operation` on the working file of entry 2.
  void FailOnSecond(const std::string& operation, int32_t error) {
    fake.disk->before = [=](const std::string& done, const std::u16string& path) {
      if (done == operation && path == u"/app/tmp/ExpressvCard2.vcf") throw Error(error);
    };
  }
};

TEST(WabExportRun, ThreeEntriesEndToEndReplacingAFileInTheDestination) {
  ExportRun run;
  run.AddEntries({"Ann", "Bo", "Cy"});
  run.fake.disk->AddFile(u"/out/ExpressvCard2.vcf", "an older card\r\n");
  Files working_files_at_the_end{u"unset"};
  run.events->on_event = [&](const std::string& line) {
    if (line.starts_with("done")) working_files_at_the_end = run.fake.disk->List(u"/app/tmp");
  };

  EXPECT_EQ(run.Export(), 0);

  EXPECT_EQ(run.Destination(),
            (Files{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf", u"ExpressvCard3.vcf"}));
  EXPECT_EQ(run.File(u"/out/ExpressvCard1.vcf"), CardNamed("Ann"));
  EXPECT_EQ(run.File(u"/out/ExpressvCard2.vcf"), CardNamed("Bo"));
  EXPECT_EQ(run.File(u"/out/ExpressvCard3.vcf"), CardNamed("Cy"));
  EXPECT_TRUE(working_files_at_the_end.empty());
  EXPECT_EQ(run.events->lines,
            (Events{"progress 3 0 Contact:", "progress 3 1 Ann", "progress 3 2 Bo",
                    "progress 3 3 Cy", "progress 3 3 " + kFinish, "done [] [/app/run.log]"}));
  EXPECT_EQ(run.Log(), kHeader + "1\x01" "Ann\r\n2\x01" "Bo\r\n3\x01" "Cy\r\n"
                       "Export Data Count:3\r\n" + kFinish + "\r\n");
  EXPECT_TRUE(run.fake.message_box->shown.empty());
  EXPECT_TRUE(run.LibraryReleased());
}

TEST(WabExportRun, EmptyOrMissingBookEndsWithItsNotice) {
  for (const bool open_fails : {false, true}) {
    SCOPED_TRACE(open_fails);
    ExportRun run;
    run.book->failures.open = open_fails;
    const std::string notice = open_fails ? "Does not exist any address book" : "No Contacts";
    EXPECT_EQ(run.Export(), 0);
    EXPECT_TRUE(run.Destination().empty());
    EXPECT_EQ(run.events->lines, (Events{"progress 0 0 " + notice, "done [] [/app/run.log]"}));
    EXPECT_EQ(run.Log(), kStart + notice + "\r\n--Address book export end--\r\n");
    EXPECT_EQ(run.book->calls.close, open_fails ? 0 : 1);
    EXPECT_TRUE(run.LibraryReleased());
  }
}

TEST(WabExportRun, StopFromAnEventHandlerFinishesThatEntryOnly) {
  const struct {
    std::string event;
    size_t files;
    std::vector<std::string> logged;
  } rows[] = {
      {"progress 5 0 Contact:", 0, {}},
      {"progress 5 2 Bo", 2, {"Ann", "Bo"}},
      {"progress 5 5 Ed", 5, {"Ann", "Bo", "Cy", "Di", "Ed"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.event);
    ExportRun run;
    run.AddEntries({"Ann", "Bo", "Cy", "Di", "Ed"});
    run.events->on_event = [&](const std::string& line) {
      if (line == row.event) run.component.ExportBreak();
    };
    EXPECT_EQ(run.Export(), 0);
    EXPECT_EQ(run.Destination().size(), row.files);
    EXPECT_EQ(run.Log(), kHeader + Logged(row.logged) + kCancel);
    EXPECT_EQ(run.events->lines.end()[-2], row.event) << "no further progress";
    EXPECT_TRUE(run.LibraryReleased());
  }
}

TEST(WabExportRun, EntryWithoutDisplayNameStillGetsItsFile) {
  ExportRun run;
  run.book->entries.push_back(FakeEntry().Text(tags::PR_SURNAME, "Lee"));
  EXPECT_EQ(run.Export(), 0);
  EXPECT_EQ(run.File(u"/out/ExpressvCard1.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee\r\nFN:\r\nEND:VCARD\r\n");
  EXPECT_EQ(run.events->lines[1], "progress 1 1 ");
  EXPECT_EQ(run.Log(), kHeader + "1\x01\r\nExport Data Count:1\r\n" + kFinish + "\r\n");
}

TEST(WabExportRun, LoopRunsOverTheEntriesTheLibraryFilled) {
  for (const int32_t filled : {0, 2}) {
    SCOPED_TRACE(filled);
    ExportRun run;
    run.AddEntries({"Ann", "Bo", "Cy"});
    run.book->failures.fill_only = filled;
    EXPECT_EQ(run.Export(), 0);
    EXPECT_EQ(run.Destination().size(), static_cast<size_t>(filled));
    EXPECT_EQ(run.events->lines.end()[-2], "progress 3 " + std::to_string(filled) + " " + kFinish);
    const std::string count = "Export Data Count:" + std::to_string(filled) + "\r\n";
    EXPECT_TRUE(run.Log().ends_with(count + kFinish + "\r\n"));
    EXPECT_TRUE(run.LibraryReleased());
  }
}

TEST(WabExportRun, MoreThan32767EntriesEndTheRunBeforeAnyFile) {
  ExportRun run;
  run.book->failures.entry_count = 40000;
  EXPECT_EQ(run.Export(), errors::kOverflow);
  EXPECT_EQ(run.events->lines, (Events{"progress 0 0 Contact:", "done [Overflow] [/app/run.log]"}));
  EXPECT_TRUE(run.Destination().empty());
  EXPECT_EQ(run.Log(), kHeader + "\r\n") << "no closing lines";
  EXPECT_TRUE(run.LibraryReleased());
}

TEST(WabExportRun, FailingCopyIsShownAndStopsTheRunAfterThatEntry) {
  ExportRun run;
  run.AddEntries({"Ann", "Bo", "Cy"});
  run.FailOnSecond("CopyFile", errors::kPermissionDenied);
  EXPECT_EQ(run.Export(), 0);
  ASSERT_EQ(run.fake.message_box->shown.size(), 1u);
  EXPECT_EQ(run.fake.message_box->shown[0].first, u"Permission denied");
  EXPECT_EQ(run.fake.message_box->shown[0].second, MessageBoxKind::kCritical);
  EXPECT_EQ(run.Destination(), (Files{u"ExpressvCard1.vcf"}));
  EXPECT_EQ(std::ranges::count(run.fake.disk->operations, "DeleteFile /app/tmp/ExpressvCard2.vcf"),
            1);
  EXPECT_EQ(run.Log(), kHeader + Logged({"Ann", "Bo"}) + kCancel);
  EXPECT_TRUE(run.LibraryReleased());
}

TEST(WabExportRun, OtherFileErrorsEndTheRunAndCloseTheLibrary) {
  for (const auto& [operation, error] : {std::pair{"AppendToFile", errors::kDiskFull},
                                         std::pair{"DeleteFile", errors::kPermissionDenied}}) {
    SCOPED_TRACE(operation);
    ExportRun run;
    run.AddEntries({"Ann", "Bo", "Cy"});
    run.FailOnSecond(operation, error);
    EXPECT_EQ(run.Export(), error);
    EXPECT_EQ(run.File(u"/out/ExpressvCard3.vcf"), "(no file)");
    EXPECT_EQ(run.Log(), kHeader + Logged({"Ann", "Bo"}) + "\r\n") << "no closing lines";
    EXPECT_TRUE(run.LibraryReleased());
  }
}

TEST(WabExportRun, CombinedModeGathersEveryCardIntoOneFile) {
  ExportRun run;
  run.AddEntries({"Ann", "Bo"});
  run.fake.disk->AddFolder(u"/app/tmp");
  run.fake.disk->AddFile(u"/app/tmp/ExpressvCard.vcf", "left by an earlier run\r\n");
  EXPECT_EQ(run.Export(1), 0);
  EXPECT_EQ(run.File(u"/out/ExpressvCard.vcf"), CardNamed("Ann") + CardNamed("Bo"));
  EXPECT_EQ(run.Destination(),
            (Files{u"ExpressvCard.vcf", u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}));
}

}  // namespace
}  // namespace orvane::testing
