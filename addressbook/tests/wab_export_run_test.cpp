#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/wab_component.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

constexpr char kHeader[] = "[Export starting time:06.12.2026 09:05:07]\r\n";
constexpr char kContact[] = "Contact:";
constexpr char kFinish[] = "--Address book export finish--";
constexpr char kCancel[] = "--Address book export cancel--";
constexpr char kEnd[] = "--Address book export end--";

std::string CardNamed(const std::string& name) {
  return "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

class WabExportRunTest : public ::testing::Test {
 protected:
  void AddEntries(const std::vector<std::string>& names) {
    for (const std::string& name : names) wab.book->AddEntry(Named(name));
  }

  // Export2 of the address book into /out with the log /app/run.log.
  int32_t Export(std::optional<int16_t> ExportMode = std::nullopt) {
    return wab.component.Export2(u"/out", u"", kAddressBook, ExportMode, u"run.log");
  }

  std::string Log() const { return wab.File(u"/app/run.log"); }
  std::vector<std::u16string> Destination() const { return wab.fake.disk->List(u"/out"); }

  // Calls ExportBreak from the handler of the event whose line is `line`.
  void BreakAtEvent(const std::string& line) {
    wab.events->on_event = [this, line](const std::string& raised) {
      if (raised == line) wab.component.ExportBreak();
    };
  }

  bool Performed(const std::string& operation) const {
    const auto& done = wab.fake.disk->operations;
    return std::find(done.begin(), done.end(), operation) != done.end();
  }

  WabComponent wab;
};

TEST_F(WabExportRunTest, ThreeEntriesEndToEnd) {
  AddEntries({"Ann", "Bo", "Cy"});
  std::vector<std::u16string> working_files_at_the_end{u"unset"};
  wab.events->on_event = [&](const std::string& line) {
    if (line.rfind("done", 0) == 0) working_files_at_the_end = wab.fake.disk->List(u"/app/tmp");
  };

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(Destination(), (std::vector<std::u16string>{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf",
                                                        u"ExpressvCard3.vcf"}));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard1.vcf"), CardNamed("Ann"));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard2.vcf"), CardNamed("Bo"));
  EXPECT_EQ(wab.File(u"/out/ExpressvCard3.vcf"), CardNamed("Cy"));
  EXPECT_TRUE(working_files_at_the_end.empty()) << "every working copy is deleted by the run";
  EXPECT_EQ(wab.events->lines,
            (std::vector<std::string>{"progress 3 0 Contact:", "progress 3 1 Ann",
                                      "progress 3 2 Bo", "progress 3 3 Cy",
                                      std::string("progress 3 3 ") + kFinish,
                                      "done [] [/app/run.log]"}));
  EXPECT_EQ(Log(), std::string(kHeader) + kContact +
                       "\r\n1\x01" "Ann\r\n2\x01" "Bo\r\n3\x01" "Cy\r\n"
                       "Export Data Count:3\r\n" + kFinish + "\r\n");
  EXPECT_TRUE(wab.fake.message_box->shown.empty());
  EXPECT_EQ(wab.book->last_free_count, 3);
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST_F(WabExportRunTest, EachEntryIsWrittenCopiedAndDeletedInThatOrder) {
  AddEntries({"Ann"});
  ASSERT_EQ(Export(), 0);
  const std::vector<std::string> expected = {
      "FileExists /app/tmp/ExpressvCard1.vcf", "AppendToFile /app/tmp/ExpressvCard1.vcf",
      "FileExists /app/tmp/ExpressvCard1.vcf", "CopyFile /app/tmp/ExpressvCard1.vcf",
      "FileExists /app/tmp/ExpressvCard1.vcf", "DeleteFile /app/tmp/ExpressvCard1.vcf"};
  const auto& done = wab.fake.disk->operations;
  const auto first = std::find(done.begin(), done.end(), expected.front());
  ASSERT_NE(first, done.end());
  EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(expected.size())), expected);
}

TEST_F(WabExportRunTest, AFileAlreadyInTheDestinationIsReplacedSilently) {
  AddEntries({"Ann", "Bo", "Cy"});
  wab.fake.disk->AddFile(u"/out/ExpressvCard2.vcf", "an older card\r\n");

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(wab.File(u"/out/ExpressvCard2.vcf"), CardNamed("Bo"));
  EXPECT_TRUE(wab.fake.message_box->shown.empty());
}

struct NothingToExportCase {
  const char* name;
  bool open_fails;
  std::string notice;
  int expected_closes;
};

TEST_F(WabExportRunTest, EmptyOrMissingBookEndsWithItsNotice) {
  const NothingToExportCase cases[] = {
      {"empty book", false, "No Contacts", 1},
      {"library that cannot be opened", true, "Does not exist any address book", 0},
  };
  for (const NothingToExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    fresh.book->failures.open = c.open_fails;

    EXPECT_EQ(fresh.component.Export2(u"/out", u"", kAddressBook, std::nullopt, u"run.log"), 0);

    EXPECT_TRUE(fresh.fake.disk->List(u"/out").empty());
    EXPECT_EQ(fresh.events->lines, (std::vector<std::string>{"progress 0 0 " + c.notice,
                                                             "done [] [/app/run.log]"}));
    EXPECT_EQ(fresh.File(u"/app/run.log"), kHeader + c.notice + "\r\n" + kEnd + "\r\n");
    EXPECT_EQ(fresh.book->calls.close, c.expected_closes);
    EXPECT_EQ(fresh.book->calls.get_entries, 0);
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

TEST_F(WabExportRunTest, StopFromTheSecondOfFiveEntriesFinishesThatEntryOnly) {
  AddEntries({"Ann", "Bo", "Cy", "Di", "Ed"});
  BreakAtEvent("progress 5 2 Bo");

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(Destination(),
            (std::vector<std::u16string>{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}));
  EXPECT_EQ(Log(), std::string(kHeader) + kContact + "\r\n1\x01" "Ann\r\n2\x01" "Bo\r\n" +
                       kCancel + "\r\n");
  EXPECT_EQ(wab.events->lines.end()[-2], "progress 5 2 Bo");
  EXPECT_EQ(wab.book->last_free_count, 5);
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST_F(WabExportRunTest, StopFromTheFirstEventWritesNoFile) {
  AddEntries({"Ann", "Bo", "Cy", "Di", "Ed"});
  BreakAtEvent("progress 5 0 Contact:");

  EXPECT_EQ(Export(), 0);

  EXPECT_TRUE(Destination().empty());
  EXPECT_EQ(Log(), std::string(kHeader) + kContact + "\r\n" + kCancel + "\r\n");
  EXPECT_EQ(wab.events->lines, (std::vector<std::string>{"progress 5 0 Contact:",
                                                         "progress 5 0 Contact:",
                                                         "done [] [/app/run.log]"}));
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST_F(WabExportRunTest, StopDuringTheYieldLetsTheCurrentEntryFinish) {
  AddEntries({"Ann", "Bo", "Cy"});
  int yields = 0;
  wab.fake.message_loop->SetHook([&] {
    if (++yields == 2) wab.component.ExportBreak();
  });

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(yields, 2);
  EXPECT_EQ(Destination(),
            (std::vector<std::u16string>{u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}));
  EXPECT_TRUE(Log().ends_with(std::string("2\x01" "Bo\r\n") + kCancel + "\r\n"));
}

TEST_F(WabExportRunTest, StopDuringTheLastEntryStillTakesTheStoppedEnding) {
  AddEntries({"Ann", "Bo", "Cy"});
  BreakAtEvent("progress 3 3 Cy");

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(Destination().size(), 3u);
  EXPECT_TRUE(Log().ends_with(std::string("3\x01" "Cy\r\n") + kCancel + "\r\n"));
  EXPECT_EQ(wab.events->lines.end()[-2], "progress 3 3 Cy");
}

TEST_F(WabExportRunTest, AnEntryWithoutDisplayNameStillGetsItsFile) {
  wab.book->AddEntry(FakeEntry().Text(tags::PR_SURNAME, "Lee"));

  EXPECT_EQ(Export(), 0);

  EXPECT_EQ(wab.File(u"/out/ExpressvCard1.vcf"),
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee\r\nFN:\r\nEND:VCARD\r\n");
  EXPECT_EQ(wab.events->lines[1], "progress 1 1 ");
  EXPECT_EQ(Log(), std::string(kHeader) + kContact + "\r\n1\x01\r\nExport Data Count:1\r\n" +
                       kFinish + "\r\n");
}

struct FetchCase {
  const char* name;
  int32_t filled;
  std::vector<std::u16string> files;
  int expected_frees;
};

TEST_F(WabExportRunTest, TheLoopRunsOverTheEntriesTheLibraryFilled) {
  const FetchCase cases[] = {
      {"none filled", 0, {}, 0},
      {"two of three filled", 2, {u"ExpressvCard1.vcf", u"ExpressvCard2.vcf"}, 1},
  };
  for (const FetchCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    for (const char* name : {"Ann", "Bo", "Cy"}) fresh.book->AddEntry(Named(name));
    fresh.book->failures.fill_only = c.filled;

    EXPECT_EQ(fresh.component.Export2(u"/out", u"", kAddressBook, std::nullopt, u"run.log"), 0);

    EXPECT_EQ(fresh.fake.disk->List(u"/out"), c.files);
    EXPECT_EQ(fresh.events->lines.front(), "progress 3 0 Contact:");
    EXPECT_EQ(fresh.events->lines.end()[-2],
              "progress 3 " + std::to_string(c.filled) + " " + kFinish)
        << "TotalCount stays at the count of the book";
    EXPECT_TRUE(fresh.File(u"/app/run.log")
                    .ends_with("Export Data Count:" + std::to_string(c.filled) + "\r\n" +
                               kFinish + "\r\n"));
    EXPECT_EQ(fresh.book->calls.free_entries, c.expected_frees);
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

TEST_F(WabExportRunTest, MoreThan32767EntriesEndTheRunBeforeAnyEventOrFile) {
  wab.book->failures.entry_count = 40000;

  EXPECT_EQ(Export(), errors::kOverflow);

  EXPECT_EQ(wab.events->lines, (std::vector<std::string>{"progress 0 0 Contact:",
                                                         "done [Overflow] [/app/run.log]"}));
  EXPECT_TRUE(Destination().empty());
  EXPECT_EQ(wab.book->calls.get_entries, 0);
  EXPECT_EQ(Log(), std::string(kHeader) + kContact + "\r\n\r\n") << "no closing lines";
  EXPECT_TRUE(wab.LibraryReleased());
}

TEST_F(WabExportRunTest, AFailingCopyIsShownAndStopsTheRunAfterThatEntry) {
  AddEntries({"Ann", "Bo", "Cy"});
  wab.fake.disk->before = [](const std::string& operation, const std::u16string& path) {
    if (operation == "CopyFile" && path == u"/app/tmp/ExpressvCard2.vcf") {
      throw Error(errors::kPermissionDenied);
    }
  };

  EXPECT_EQ(Export(), 0);

  ASSERT_EQ(wab.fake.message_box->shown.size(), 1u);
  EXPECT_EQ(wab.fake.message_box->shown[0].first, u"Permission denied");
  EXPECT_EQ(wab.fake.message_box->shown[0].second, MessageBoxKind::kCritical);
  EXPECT_EQ(Destination(), (std::vector<std::u16string>{u"ExpressvCard1.vcf"}));
  EXPECT_TRUE(Performed("DeleteFile /app/tmp/ExpressvCard2.vcf")) << "the working copy is deleted";
  EXPECT_FALSE(Performed("AppendToFile /app/tmp/ExpressvCard3.vcf"));
  EXPECT_TRUE(Log().ends_with(std::string("2\x01" "Bo\r\n") + kCancel + "\r\n"));
  EXPECT_EQ(wab.events->lines.end()[-2], "progress 3 2 Bo");
  EXPECT_TRUE(wab.LibraryReleased());
}

struct CopyStepCase {
  const char* name;
  bool existence_test_fails;
  bool copy_fails;
  std::vector<std::u16string> boxes;
  bool copied;
};

TEST_F(WabExportRunTest, AFailingExistenceTestInTheCopyStepStillTriesTheCopy) {
  const CopyStepCase cases[] = {
      {"existence test fails", true, false, {u"Path/File access error"}, true},
      {"both fail", true, true, {u"Path/File access error", u"Disk full"}, false},
  };
  for (const CopyStepCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    for (const char* name : {"Ann", "Bo"}) fresh.book->AddEntry(Named(name));
    int existence_tests = 0;
    fresh.fake.disk->before = [&](const std::string& operation, const std::u16string& path) {
      if (path != u"/app/tmp/ExpressvCard1.vcf") return;
      // The second test of the working file is the one inside the copy step.
      if (operation == "FileExists" && ++existence_tests == 2 && c.existence_test_fails) {
        throw Error(errors::kPathFileAccessError);
      }
      if (operation == "CopyFile" && c.copy_fails) throw Error(errors::kDiskFull);
    };

    EXPECT_EQ(fresh.component.Export2(u"/out", u"", kAddressBook), 0);

    std::vector<std::u16string> boxes;
    for (const auto& shown : fresh.fake.message_box->shown) boxes.push_back(shown.first);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(fresh.fake.disk->files.count(u"/out/ExpressvCard1.vcf"), c.copied ? 1u : 0u);
    EXPECT_EQ(fresh.fake.disk->files.count(u"/out/ExpressvCard2.vcf"), 0u) << "the run stopped";
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

struct RunFailureCase {
  const char* name;
  std::string operation;
  int occurrence;  // which call of that operation on working file 2 fails
  int32_t error;
};

TEST_F(WabExportRunTest, FileErrorsOutsideTheCopyStepEndTheRunAndCloseTheLibrary) {
  const RunFailureCase cases[] = {
      {"write of the working file", "AppendToFile", 1, errors::kDiskFull},
      {"existence test before the write", "FileExists", 1, errors::kPathFileAccessError},
      {"existence test after the copy", "FileExists", 3, errors::kPathFileAccessError},
      {"delete of the working copy", "DeleteFile", 1, errors::kPermissionDenied},
  };
  for (const RunFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    WabComponent fresh;
    for (const char* name : {"Ann", "Bo", "Cy"}) fresh.book->AddEntry(Named(name));
    int calls = 0;
    fresh.fake.disk->before = [&](const std::string& operation, const std::u16string& path) {
      if (operation == c.operation && path == u"/app/tmp/ExpressvCard2.vcf" &&
          ++calls == c.occurrence) {
        throw Error(c.error);
      }
    };

    EXPECT_EQ(fresh.component.Export2(u"/out", u"", kAddressBook, std::nullopt, u"run.log"),
              c.error);

    EXPECT_EQ(fresh.fake.disk->files.count(u"/out/ExpressvCard3.vcf"), 0u);
    EXPECT_TRUE(fresh.fake.message_box->shown.empty());
    EXPECT_EQ(fresh.events->lines.back(),
              "done [" + Narrow(DescriptionOf(c.error)) + "] [/app/run.log]");
    EXPECT_EQ(fresh.File(u"/app/run.log"), std::string(kHeader) + kContact +
                                               "\r\n1\x01" "Ann\r\n2\x01" "Bo\r\n\r\n")
        << "no closing lines after an error";
    EXPECT_EQ(fresh.book->calls.free_entries, 1);
    EXPECT_TRUE(fresh.LibraryReleased());
  }
}

TEST_F(WabExportRunTest, CombinedModeGathersEveryCardIntoOneFile) {
  AddEntries({"Ann", "Bo"});
  wab.fake.disk->AddFolder(u"/app/tmp");
  wab.fake.disk->AddFile(u"/app/tmp/ExpressvCard.vcf", "left by an earlier run\r\n");

  EXPECT_EQ(Export(1), 0);

  EXPECT_EQ(wab.File(u"/out/ExpressvCard.vcf"), CardNamed("Ann") + CardNamed("Bo"));
  EXPECT_EQ(Destination(), (std::vector<std::u16string>{u"ExpressvCard.vcf", u"ExpressvCard1.vcf",
                                                        u"ExpressvCard2.vcf"}));
}

TEST_F(WabExportRunTest, WithoutCombinedModeNoCombinedFileIsWritten) {
  AddEntries({"Ann", "Bo"});
  EXPECT_EQ(Export(0), 0);
  EXPECT_FALSE(Performed("AppendToFile /app/tmp/ExpressvCard.vcf"));
  EXPECT_EQ(Destination().size(), 2u);
}

TEST_F(WabExportRunTest, TheRunYieldsOncePerEntry) {
  AddEntries({"Ann", "Bo", "Cy"});
  int yields = 0;
  wab.fake.message_loop->SetHook([&] { ++yields; });
  ASSERT_EQ(Export(), 0);
  EXPECT_EQ(yields, 3);
}

}  // namespace
}  // namespace orvane::testing
