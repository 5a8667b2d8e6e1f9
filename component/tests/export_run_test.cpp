#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "component/export_source.h"
#include "component/file_operations.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "outlook/outlook_source.h"
#include "platform/error.h"
#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::FakePlatform;
using testing::Narrow;
using testing::RecordingEvents;
using testing::Widen;

// A source that behaves as a whole-export run does: it logs, reports progress,
// writes each item into the working folder, copies it out and deletes it.
class StandInSource final : public ExportSource {
 public:
  explicit StandInSource(std::vector<std::u16string> titles) : titles_(std::move(titles)) {}

  int16_t CountItems(CallContext&) override { return static_cast<int16_t>(titles_.size()); }
  void GetItemInfo(CallContext&, int16_t, std::u16string&, AutomationDate&) override {}
  void ExportItem(CallContext&, int16_t, const std::u16string&) override {}

  void ExportAll(CallContext& context) override {
    ++runs;
    SharedState& state = context.state;
    working_folder = state.TempFolder;
    FileSystem& fs = *state.FileSys;
    CodePage& code_page = *context.platform.code_page;
    const std::u16string combined = state.TempFolder + state.ExportFileName + u".vcf";
    state.ProgressText = u"Contact:";
    state.LogText += u"Contact:\r\n";
    state.TotalCount = static_cast<int16_t>(titles_.size());
    context.RaiseExportEvent(0);
    for (const std::u16string& title : titles_) {
      if (state.BreakRequested) break;
      context.YieldToHost();
      ++state.CurrentCount;
      if (state.CurrentCount == fail_at_item) throw Error(fail_with);
      const std::u16string number = Widen(std::to_string(state.CurrentCount));
      state.ProgressText = title;
      context.RaiseExportEvent(0);
      state.LogText += number + u"\x01" + title + u"\r\n";
      const std::u16string file = state.TempFolder + state.ExportFileName + number + u".vcf";
      AppendTextToFile(fs, code_page, file, u"card " + title);
      if (state.CombineMode == 1) AppendTextToFile(fs, code_page, combined, u"card " + title);
      fs.CopyFile(file, state.ExportDestination);
      fs.DeleteFile(file);
    }
    state.LogText += state.BreakRequested
                         ? std::u16string(u"--stopped--")
                         : u"Export Data Count:" + Widen(std::to_string(state.CurrentCount)) +
                               u"\r\n--finished--";
  }

  int runs = 0;
  std::u16string working_folder;
  int fail_at_item = 0;
  int32_t fail_with = errors::kDiskFull;

 private:
  std::vector<std::u16string> titles_;
};

constexpr char kHeader[] = "[Export starting time:06.12.2026 09:05:07]\r\n";

class ExportRunTest : public ::testing::Test {
 protected:
  ExportRunTest() {
    auto owned = std::make_unique<StandInSource>(std::vector<std::u16string>{u"Ann", u"Bo", u"Cy"});
    source = owned.get();
    module.SetSource(3, std::move(owned));
    component.Advise(events);
    fake.disk->AddFolder(u"/out");
  }

  std::string File(const std::u16string& path) { return fake.disk->files[path]; }
  bool HasFile(const std::u16string& path) { return fake.disk->files.count(path) != 0; }

  FakePlatform fake;
  Module module{fake.services(), {MakeOutlookSource(1), MakeOutlookSource(2), nullptr}};
  Orvane2 component{module};
  StandInSource* source = nullptr;
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();
};

TEST_F(ExportRunTest, NormalEndingWritesTheLogBeforeExportDone) {
  std::string log_when_done;
  events->on_event = [&](const std::string& line) {
    if (line.rfind("done", 0) == 0) log_when_done = File(u"/logs/run.log");
  };
  fake.disk->AddFolder(u"/logs");

  EXPECT_EQ(component.Export2(u"/out/cards", u"", 3, std::nullopt, u"run.log", u"/logs"), 0);

  const std::string block = std::string(kHeader) +
                            "Contact:\r\n1\x01" "Ann\r\n2\x01" "Bo\r\n3\x01" "Cy\r\n"
                            "Export Data Count:3\r\n--finished--\r\n";
  EXPECT_EQ(File(u"/logs/run.log"), block);
  EXPECT_EQ(log_when_done, block);
  EXPECT_EQ(events->lines, (std::vector<std::string>{
                               "progress 3 0 Contact:", "progress 3 1 Ann", "progress 3 2 Bo",
                               "progress 3 3 Cy", "progress 3 3 Cy",
                               "done [] [/logs/run.log]"}));
  EXPECT_EQ(fake.disk->List(u"/out/cards"),
            (std::vector<std::u16string>{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf",
                                         u"ExpressvCard3.vcf"}));
  EXPECT_EQ(File(u"/out/cards/ExpressvCard2.vcf"), "card Bo\r\n");
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp")) << "the working folder is removed";
}

TEST_F(ExportRunTest, ErrorEndingRaisesTheEventsBeforeWritingTheLog) {
  source->fail_at_item = 2;
  std::string log_when_done = "unset";
  events->on_event = [&](const std::string& line) {
    if (line.rfind("done", 0) == 0) log_when_done = File(u"/app/run.log");
  };

  EXPECT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), errors::kDiskFull);

  EXPECT_EQ(log_when_done, "");
  EXPECT_EQ(File(u"/app/run.log"),
            std::string(kHeader) + "Contact:\r\n1\x01" "Ann\r\n\r\n");
  EXPECT_EQ(events->lines.back(), "done [Disk full] [/app/run.log]");
  EXPECT_EQ(events->lines[events->lines.size() - 2], "progress 3 2 Ann");
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
}

TEST_F(ExportRunTest, TwoRunsIntoOneLogLeaveTwoBlocks) {
  ASSERT_EQ(component.Export2(u"/out", u"", 4, std::nullopt, u"run.log"), 0);
  ASSERT_EQ(component.Export2(u"/out", u"", 4, std::nullopt, u"run.log"), 0);
  const std::string block = std::string(kHeader) + "\r\n";
  EXPECT_EQ(File(u"/app/run.log"), block + block);
}

TEST_F(ExportRunTest, RunWithoutLogNameReportsTheLastLogFileAndWritesNone) {
  ASSERT_EQ(component.Export2(u"/out", u"", 4, std::nullopt, u"first.log", u"/out/logs"), 0);
  const std::string first_log = File(u"/out/logs/first.log");
  events->lines.clear();

  ASSERT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"", u"/out/unused"), 0);

  EXPECT_EQ(events->lines.back(), "done [] [/out/logs/first.log]");
  EXPECT_EQ(File(u"/out/logs/first.log"), first_log);
  EXPECT_FALSE(fake.disk->HasFolder(u"/out/unused")) << "a log path without log name is ignored";
}

TEST_F(ExportRunTest, ExportTypeFourPreparesFoldersAndWritesAHeaderOnlyBlock) {
  EXPECT_EQ(component.Export2(u"/out/new", u"name", 4, std::nullopt, u"r.log", u"/out/logs"), 0);

  EXPECT_TRUE(fake.disk->HasFolder(u"/out/new"));
  EXPECT_TRUE(fake.disk->HasFolder(u"/out/logs"));
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
  EXPECT_NE(std::find(fake.disk->operations.begin(), fake.disk->operations.end(),
                      "CreateFolder /app/tmp/"),
            fake.disk->operations.end());
  EXPECT_EQ(File(u"/out/logs/r.log"), std::string(kHeader) + "\r\n");
  EXPECT_EQ(events->lines,
            (std::vector<std::string>{"progress 0 0 ", "done [] [/out/logs/r.log]"}));
  EXPECT_EQ(source->runs, 0);
  EXPECT_TRUE(module.ThreadState().ExportFileName.empty()) << "kept from before: no source";
}

TEST_F(ExportRunTest, DefaultsComeFromTheComponentFolder) {
  ASSERT_EQ(component.Export2(u"", u"", 3, std::nullopt, u"run.log"), 0);
  EXPECT_TRUE(HasFile(u"/app/ExpressvCard1.vcf"));
  EXPECT_TRUE(HasFile(u"/app/run.log"));
  ASSERT_EQ(component.Export2(u"/out", u"mine", 3), 0);
  EXPECT_TRUE(HasFile(u"/out/mine3.vcf"));
}

TEST_F(ExportRunTest, ComponentFolderAtTheRootGetsItsWorkingFolderThere) {
  fake.location->folder = u"/";
  ASSERT_EQ(component.Export2(u"/out", u"", 4), 0);
  EXPECT_NE(std::find(fake.disk->operations.begin(), fake.disk->operations.end(),
                      "CreateFolder /tmp/"),
            fake.disk->operations.end());
}

TEST_F(ExportRunTest, DestinationWhoseParentIsMissingEndsBeforeAnySource) {
  EXPECT_EQ(component.Export2(u"/nowhere/cards", u"", 3, std::nullopt, u"run.log"),
            errors::kPathNotFound);
  EXPECT_EQ(source->runs, 0);
  EXPECT_EQ(events->lines,
            (std::vector<std::string>{"progress 0 0 ", "done [Path not found] []"}));
  EXPECT_FALSE(HasFile(u"/app/run.log")) << "the run ended before its log was formed";
}

TEST_F(ExportRunTest, LogFolderWhoseParentIsMissingEndsTheRun) {
  EXPECT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log", u"/no/logs"),
            errors::kPathNotFound);
  EXPECT_EQ(source->runs, 0);
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
}

TEST_F(ExportRunTest, HeaderFollowsTheUserLanguage) {
  const std::pair<uint16_t, std::string> cases[] = {
      {1033, "[Export starting time:06.12.2026 09:05:07]\r\n\r\n"},
      {1028, "[匯出開始時間:06.12.2026 09:05:07]\r\n\r\n"},
      {2052, "[汇出开始时间06.12.2026 09:05:07]\r\n\r\n"}};
  for (const auto& [language, block] : cases) {
    fake.language->id = language;
    fake.disk->files.erase(u"/app/h.log");
    ASSERT_EQ(component.Export2(u"/out", u"", 4, std::nullopt, u"h.log"), 0);
    EXPECT_EQ(File(u"/app/h.log"), block) << language;
  }
}

TEST_F(ExportRunTest, EarlyFailureWritesNoStaleLogTextAndNoStaleProgress) {
  ASSERT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), 0);
  const std::string after_first = File(u"/app/run.log");
  events->lines.clear();

  EXPECT_EQ(component.Export2(u"/nowhere/x", u"", 3, std::nullopt, u"run.log"),
            errors::kPathNotFound);
  EXPECT_EQ(File(u"/app/run.log"), after_first);
  EXPECT_EQ(events->lines.front(), "progress 0 0 ");
}

TEST_F(ExportRunTest, FailingLogWriteInTheErrorEndingStillCleansUpAndReturnsTheError) {
  source->fail_at_item = 2;
  fake.disk->before = [](const std::string& operation, const std::u16string& path) {
    if (operation == "AppendToFile" && Narrow(path) == "/app/run.log") throw Error(70);
  };
  EXPECT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), errors::kDiskFull);
  EXPECT_EQ(events->lines.back(), "done [Disk full] [/app/run.log]");
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
}

TEST_F(ExportRunTest, FailingLogWriteInTheNormalEndingIsTheRunsError) {
  fake.disk->before = [](const std::string& operation, const std::u16string& path) {
    if (operation == "AppendToFile" && Narrow(path) == "/app/run.log") throw Error(70);
  };
  EXPECT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), 70);
  EXPECT_EQ(events->lines.back(), "done [Permission denied] [/app/run.log]");
  EXPECT_EQ(std::count(fake.disk->operations.begin(), fake.disk->operations.end(),
                       "AppendToFile /app/run.log"),
            1)
      << "the block is not tried again in the error ending";
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
}

TEST_F(ExportRunTest, CallsFromInsideARunAreRefusedExceptExportBreak) {
  std::vector<int32_t> results;
  bool asked = false;
  events->on_event = [&](const std::string& line) {
    if (asked || line != "progress 3 1 Ann") return;
    asked = true;
    std::u16string filename = u"/out/x";
    std::u16string title = u"kept";
    AutomationDate modified = 2.5;
    const size_t events_before = events->lines.size();
    results.push_back(component.Export2(u"/out", u"", 3));
    results.push_back(component.ExportItem2(1, 3, filename));
    results.push_back(component.GetItem(1, 3, title, modified));
    results.push_back(component.itemcount(3));
    EXPECT_EQ(events->lines.size(), events_before) << "a refused call raises no event";
    EXPECT_EQ(filename, u"/out/x");
    EXPECT_EQ(title, u"kept");
    EXPECT_EQ(modified, 2.5);
    component.ExportBreak();
  };

  EXPECT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), 0);

  EXPECT_EQ(results, (std::vector<int32_t>{10, 10, 10, -1}));
  EXPECT_EQ(source->runs, 1);
  EXPECT_EQ(fake.disk->List(u"/out"), std::vector<std::u16string>{u"ExpressvCard1.vcf"})
      << "ExportBreak still stops the run after the current item";
  EXPECT_EQ(component.itemcount(3), 3) << "after the run, calls work again";
}

TEST_F(ExportRunTest, YieldIsWhereTheHostStopsTheRun) {
  int yields = 0;
  fake.message_loop->SetHook([&] {
    if (++yields == 2) component.ExportBreak();
  });
  ASSERT_EQ(component.Export2(u"/out", u"", 3, std::nullopt, u"run.log"), 0);
  EXPECT_EQ(fake.disk->List(u"/out").size(), 2u) << "the item in hand is finished";
  EXPECT_NE(File(u"/app/run.log").find("--stopped--"), std::string::npos);
}

TEST_F(ExportRunTest, ExportBreakBeforeExport2HasNoEffectOnThatRun) {
  component.ExportBreak();
  Orvane2 other(module);
  other.ExportBreak();
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(fake.disk->List(u"/out").size(), 3u);
}

TEST_F(ExportRunTest, ExportBreakOnAnotherObjectOfTheThreadStopsTheRun) {
  Orvane2 other(module);
  events->on_event = [&](const std::string& line) {
    if (line == "progress 3 1 Ann") other.ExportBreak();
  };
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(fake.disk->List(u"/out").size(), 1u);
}

TEST_F(ExportRunTest, ExportModeOneAlsoDeliversTheCombinedFile) {
  ASSERT_EQ(component.Export2(u"/out", u"all", 3, int16_t{1}), 0);
  EXPECT_EQ(File(u"/out/all.vcf"), "card Ann\r\ncard Bo\r\ncard Cy\r\n");
  EXPECT_EQ(fake.disk->List(u"/out").size(), 4u);

  for (int16_t mode : {int16_t{0}, int16_t{2}, int16_t{-1}}) {
    fake.disk->files.clear();
    ASSERT_EQ(component.Export2(u"/out", u"all", 3, mode), 0);
    EXPECT_FALSE(HasFile(u"/out/all.vcf")) << mode;
    EXPECT_EQ(module.ThreadState().CombineMode, 0);
  }
}

TEST_F(ExportRunTest, ASinkAttachedTwiceHearsEverythingTwiceUntilUnadvised) {
  const uint32_t cookie = component.Advise(events);
  ASSERT_EQ(component.Export2(u"/out", u"", 4), 0);
  EXPECT_EQ(events->lines.size(), 4u);
  component.Unadvise(cookie);
  events->lines.clear();
  ASSERT_EQ(component.Export2(u"/out", u"", 4), 0);
  EXPECT_EQ(events->lines.size(), 2u);
}

// A folder named "tmp" beside the program may be the user's own.
TEST_F(ExportRunTest, EachRunWorksInANewFolderOfItsOwnAndRemovesOnlyThat) {
  fake.disk->AddFolder(u"/app/tmp");
  fake.disk->AddFile(u"/app/tmp/notes.txt", "mine");
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(Narrow(source->working_folder), "/app/tmp/run-1/");
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(Narrow(source->working_folder), "/app/tmp/run-2/");
  EXPECT_EQ(fake.disk->List(u"/app/tmp"), std::vector<std::u16string>{u"notes.txt"});
  EXPECT_EQ(File(u"/app/tmp/notes.txt"), "mine");
  EXPECT_EQ(fake.disk->List(u"/out").size(), 3u);
}

TEST_F(ExportRunTest, TheSharedFolderARunMadeStaysWhileAnotherRunWorksThere) {
  events->on_event = [&](const std::string&) { fake.disk->AddFolder(u"/app/tmp/run-other"); };
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(fake.disk->List(u"/app/tmp"), std::vector<std::u16string>{u"run-other"});
}

TEST_F(ExportRunTest, ASharedFolderAnotherRunMadeAMomentAgoServesThisRunToo) {
  fake.disk->before = [&](const std::string& operation, const std::u16string& path) {
    if (operation != "CreateFolder" || path != u"/app/tmp/") return;
    fake.disk->AddFolder(u"/app/tmp");
    throw Error(errors::kFileAlreadyExists);
  };
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(Narrow(source->working_folder), "/app/tmp/run-1/");
  EXPECT_TRUE(fake.disk->HasFolder(u"/app/tmp")) << "the other run's to remove";
}

TEST_F(ExportRunTest, AComponentFolderThatCannotBeWrittenWorksInTheTemporaryFolder) {
  fake.disk->AddFolder(u"/tmp");
  fake.disk->before = [](const std::string& operation, const std::u16string& path) {
    if (operation == "CreateFolder" && path == u"/app/tmp/") throw Error(errors::kPermissionDenied);
  };
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(Narrow(source->working_folder), "/tmp/run-1/");
  EXPECT_EQ(fake.disk->List(u"/out").size(), 3u);
  EXPECT_TRUE(fake.disk->HasFolder(u"/tmp"));
  EXPECT_TRUE(fake.disk->List(u"/tmp").empty());
}

// Even the administrator's runs leave the system's program folder alone.
TEST_F(ExportRunTest, AComponentInTheSystemProgramFolderWorksOnlyInTheTemporaryFolder) {
  fake.disk->AddFolder(u"/tmp");
  fake.location->in_system_program_folder = true;
  ASSERT_EQ(component.Export2(u"/out", u"", 3), 0);
  EXPECT_EQ(Narrow(source->working_folder), "/tmp/run-1/");
  EXPECT_EQ(fake.disk->List(u"/out").size(), 3u);
  EXPECT_FALSE(fake.disk->HasFolder(u"/app/tmp"));
  for (const std::string& operation : fake.disk->operations) {
    EXPECT_EQ(operation.find("/app/"), std::string::npos) << operation;
  }
}

TEST_F(ExportRunTest, NoWorkingFolderAnywhereEndsTheRunWithTheComponentFoldersError) {
  fake.disk->before = [](const std::string& operation, const std::u16string& path) {
    if (operation == "CreateFolder" && path == u"/app/tmp/") throw Error(errors::kPermissionDenied);
  };  // and there is no /tmp
  EXPECT_EQ(component.Export2(u"/out", u"", 3), errors::kPermissionDenied);
  EXPECT_EQ(source->runs, 0);
  EXPECT_EQ(events->lines.back(), "done [Permission denied] []");
}

}  // namespace
}  // namespace orvane
