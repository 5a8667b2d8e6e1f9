#include "hosts/cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "component/export_source.h"
#include "component/module.h"
#include "hosts/cli/interrupt.h"
#include "hosts/cli/tests/printers.h"
#include "platform/error.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::cli {
namespace {

using orvane::testing::FakePlatform;

const AutomationDate kModified = 38412.5;  // 2005-03-01 12:00

// An address book with the given titles, standing in for the real source so
// that each outcome the commands must explain can be set up directly.
class StandInBook final : public ExportSource {
 public:
  int16_t CountItems(CallContext&) override { return static_cast<int16_t>(titles.size()); }

  void GetItemInfo(CallContext&, int16_t index, std::u16string& Title,
                   AutomationDate& ModifyTime) override {
    if (index < 1 || index > static_cast<int>(titles.size()))
      throw Error(errors::kSubscriptOutOfRange);
    Title = titles[index - 1];
    ModifyTime = kModified;
  }

  void ExportItem(CallContext&, int16_t, const std::u16string& filename) override {
    exported_to.push_back(filename);
  }

  void ExportAll(CallContext& context) override {
    SharedState& state = context.state;
    combine_mode = state.CombineMode;
    if (fail_with != 0) throw Error(fail_with);
    state.TotalCount = static_cast<int16_t>(titles.size());
    state.ProgressText = u"Contact:";
    context.RaiseExportEvent(0);
    for (const std::u16string& title : titles) {
      if (state.BreakRequested) break;
      context.YieldToHost();
      ++state.CurrentCount;
      state.ProgressText = title;
      context.RaiseExportEvent(0);
      if (state.CurrentCount == copy_fails_at) {
        context.platform.message_box->Show(u"Permission denied", MessageBoxKind::kCritical);
        state.BreakRequested = true;
      }
    }
    state.ProgressText = state.BreakRequested ? u"cancel" : u"finish";
  }

  std::vector<std::u16string> titles;
  std::vector<std::u16string> exported_to;
  int copy_fails_at = 0;
  int32_t fail_with = 0;
  int16_t combine_mode = -1;
};

// The library only has to tell why it could not open the book.
class ReasonLibrary final : public AddressBookLibrary {
 public:
  int32_t kWabOpen(WabContext&) override { return 0; }
  int32_t kWabClose(WabContext&) override { return 0; }
  int32_t kWabGetNumEntries(WabContext&) override { return 0; }
  int32_t kWabGetEntries(WabContext&, WabEntry*, int32_t) override { return 0; }
  int32_t kWabFreeEntries(WabContext&, WabEntry*, int32_t) override { return 0; }
  int32_t kWabGetNumProps(WabContext&, WabEntry&) override { return 0; }
  int32_t kWabGetPropTag(WabContext&, WabEntry&, int32_t, int32_t) override { return 0; }
  int32_t kWabGetPropType(int32_t) override { return 0; }
  int16_t kWabGetProp_String(WabContext&, WabEntry&, int32_t, char*, int32_t, int32_t*) override {
    return 0;
  }
  int16_t kWabGetProp_Short(WabContext&, WabEntry&, int32_t, int16_t&) override { return 0; }
  int16_t kWabGetProp_SysTime(WabContext&, WabEntry&, int32_t, FileTime&) override { return 0; }
  int16_t kWabGetProp_MV_String_Count(WabContext&, WabEntry&, int32_t, int32_t&) override {
    return 0;
  }
  int16_t kWabGetProp_MV_String_Data(WabContext&, WabEntry&, int32_t, char*, int32_t, int32_t*,
                                     int32_t) override {
    return 0;
  }
  std::u16string OpenFailureReason() override { return reason; }

  std::u16string reason;
};

const std::string kNameAnother =
    "name another one with --address-book FILE or the ORVANE_ADDRESS_BOOK environment variable";
const std::string kCannotOpen =
    "cannot open the address book: /b.json: line 2: unknown property tag";

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    auto owned = std::make_unique<StandInBook>();
    book = owned.get();
    book->titles = {u"Ada", u"Zoë"};
    module.SetSource(3, std::move(owned));
    loop->SetHook([this] { hook(); });
  }

  PlatformServices Services() {
    PlatformServices services = fake.services();
    services.message_box = message_box;
    services.message_loop = loop;
    services.address_book = library;
    return services;
  }

  void MakeUnopenable() {
    book->titles.clear();
    library->reason = u"/b.json: line 2: unknown property tag";
  }

  FakePlatform fake;
  std::ostringstream err;
  Console console{err};
  std::shared_ptr<ConsoleMessageBox> message_box = std::make_shared<ConsoleMessageBox>(console);
  std::shared_ptr<HookMessageLoop> loop = std::make_shared<HookMessageLoop>();
  std::shared_ptr<ReasonLibrary> library = std::make_shared<ReasonLibrary>();
  Module module{Services()};
  Orvane2 orvane{module};
  StandInBook* book = nullptr;
  int interrupts = 0;
  YieldHook hook{
      YieldHook::Actions{[this] { return interrupts; }, [this] { orvane.ExportBreak(); },
                         [this](const std::string& line) { console.Say(line); }, [](int) {}},
      std::nullopt};
  Session session{orvane, library.get(), *message_box, console};
  CallReport report;
};

TEST_F(CommandsTest, CountReportsTheNumber) {
  const CountResult count = RunCount(session, 3, report);
  EXPECT_EQ(count.result, 2);
  EXPECT_FALSE(report.failure);
  EXPECT_EQ(err.str(), "");
}

TEST_F(CommandsTest, CountOfAnUnopenableBookFailsAndSaysWhy) {
  MakeUnopenable();
  const CountResult count = RunCount(session, 3, report);
  EXPECT_EQ(count.result, 0);
  ASSERT_TRUE(report.failure);
  EXPECT_EQ(*report.failure, (Failure{std::nullopt, kCannotOpen, {kNameAnother}}));
}

TEST_F(CommandsTest, CountOfTheUnavailableMailClientFailsWithItsMessage) {
  const CountResult count = RunCount(session, 1, report);
  EXPECT_EQ(count.result, -1);
  ASSERT_TRUE(report.failure);
  EXPECT_EQ(report.failure->description, "the items could not be counted");
  ASSERT_EQ(report.messages.size(), 1u);
  EXPECT_FALSE(report.messages[0].critical);
  EXPECT_EQ(err.str(), "orvane: note: " + report.messages[0].text + "\n");
}

TEST_F(CommandsTest, UnknownTypesDoNothingWithoutFailing) {
  const CountResult count = RunCount(session, 9, report);
  EXPECT_EQ(count.result, 0);
  EXPECT_FALSE(report.failure);
  EXPECT_EQ(err.str(),
            "orvane: note: export type 9 has no source; the component does nothing for it\n");
}

struct ItemCase {
  int16_t index;
  size_t titles;
  std::optional<int32_t> result;
  std::optional<Failure> failure;
};

TEST_F(CommandsTest, ItemAsksOnlyForItemsThatExist) {
  const Failure out_of_two{
      9, "Subscript out of range", {"the address book has 2 items, numbered from 1"}};
  const ItemCase cases[] = {
      {1, 2, 0, std::nullopt},
      {2, 2, 0, std::nullopt},
      {3, 2, std::nullopt, out_of_two},
      {0, 2, std::nullopt, out_of_two},
      {-1, 2, std::nullopt, out_of_two},
      {2, 1, std::nullopt,
       Failure{9, "Subscript out of range", {"the address book has 1 item, numbered from 1"}}},
      {1, 0, std::nullopt, Failure{9, "Subscript out of range", {"the address book has 0 items"}}},
  };
  for (const ItemCase& c : cases) {
    book->titles = {u"Ada", u"Zoë"};
    book->titles.resize(c.titles);
    CallReport item_report;
    const ItemResult item = RunItem(session, 3, c.index, item_report);
    EXPECT_EQ(item.result, c.result) << c.index;
    EXPECT_EQ(item_report.failure, c.failure) << c.index;
    if (c.result == 0) {
      EXPECT_EQ(item.title, book->titles[c.index - 1]);
      EXPECT_EQ(item.modify_time, kModified);
    }
  }
}

TEST_F(CommandsTest, ItemOfAnUnopenableBookFailsWithoutAsking) {
  MakeUnopenable();
  const ItemResult item = RunItem(session, 3, 1, report);
  EXPECT_EQ(item.result, std::nullopt);
  EXPECT_EQ(report.failure, (Failure{std::nullopt, kCannotOpen, {kNameAnother}}));
}

TEST_F(CommandsTest, ItemOfTheMailClientReportsTheErrorNumber) {
  const ItemResult item = RunItem(session, 2, 1, report);
  EXPECT_EQ(item.result, errors::kObjectNotSet);
  EXPECT_EQ(report.failure, (Failure{91, "Object variable or With block variable not set", {}}));
}

TEST_F(CommandsTest, ExportItemHandsBackTheFileWithItsExtension) {
  const ExportItemResult item = RunExportItem(session, 3, 2, "/app/cards/", report);
  EXPECT_EQ(item.result, 0);
  EXPECT_FALSE(report.failure);
  EXPECT_EQ(item.filename, u"/app/cards/ExpressvCard2");
  EXPECT_EQ(item.file, u"/app/cards/ExpressvCard2.vcf");
  EXPECT_EQ(book->exported_to, std::vector<std::u16string>{u"/app/cards/ExpressvCard2"});
}

TEST_F(CommandsTest, ExportItemOfAMissingItemWritesNothing) {
  const ExportItemResult item = RunExportItem(session, 3, 3, "/app/x", report);
  EXPECT_EQ(item.result, std::nullopt);
  EXPECT_EQ(item.file, u"");
  EXPECT_TRUE(book->exported_to.empty());
  ASSERT_TRUE(report.failure);
  EXPECT_EQ(report.failure->number, 9);
}

TEST_F(CommandsTest, ExportItemOfAnUnknownTypeNamesNoFile) {
  const ExportItemResult item = RunExportItem(session, 5, 1, "/app/", report);
  EXPECT_EQ(item.result, 0);
  EXPECT_EQ(item.filename, u"/app/");
  EXPECT_EQ(item.file, u"");
  EXPECT_FALSE(report.failure);
}

class ExportCommandTest : public CommandsTest {
 protected:
  ExportResult Run(int16_t type = 3, int16_t mode = 0) {
    fake.disk->AddFolder(u"/out");
    const ExportArguments arguments{"/out", "", type, mode, "", ""};
    return RunExport(
        session, arguments, [this] { return hook.stop_requested(); }, report);
  }
};

TEST_F(ExportCommandTest, RecordsEveryEventOfACompleteRun) {
  const ExportResult run = Run();
  EXPECT_EQ(run.result, 0);
  EXPECT_FALSE(run.stopped);
  EXPECT_FALSE(report.failure);
  const std::vector<ExportEvent> expected = {
      ProgressEvent{2, 0, u"Contact:"}, ProgressEvent{2, 1, u"Ada"}, ProgressEvent{2, 2, u"Zoë"},
      ProgressEvent{2, 2, u"finish"}, DoneEvent{u"", u""}};
  EXPECT_EQ(run.events, expected);
}

TEST_F(ExportCommandTest, CombinePassesExportModeOne) {
  Run(3, 1);
  EXPECT_EQ(book->combine_mode, 1);
}

TEST_F(ExportCommandTest, AnInterruptStopsTheRunAtTheNextYield) {
  book->titles = {u"Ada", u"Bob", u"Cy", u"Di"};
  interrupts = 1;
  const ExportResult run = Run();
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(run.stopped);
  EXPECT_FALSE(report.failure) << "a stop the user asked for is no error";
  EXPECT_EQ(LastProgress(run.events), (ProgressEvent{4, 1, u"cancel"}));
  EXPECT_EQ(err.str(),
            "orvane: stopping after the current item; press Ctrl-C again to quit at once\n");
}

TEST_F(ExportCommandTest, AFailedCopyStopsTheRunAndFailsIt) {
  book->titles = {u"Ada", u"Bob", u"Cy"};
  book->copy_fails_at = 2;
  const ExportResult run = Run();
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(run.stopped);
  EXPECT_EQ(report.failure,
            (Failure{std::nullopt, "the export stopped early after the error above", {}}));
  EXPECT_EQ(report.messages, (std::vector<ShownMessage>{{true, "Permission denied"}}));
}

TEST_F(ExportCommandTest, AnErrorEndsWithItsNumberAndTheDescriptionExportDoneGave) {
  book->fail_with = errors::kDiskFull;
  const ExportResult run = Run();
  EXPECT_EQ(run.result, errors::kDiskFull);
  EXPECT_EQ(report.failure, (Failure{61, "Disk full", {}}));
  ASSERT_FALSE(run.events.empty());
  EXPECT_EQ(run.events.back(), (ExportEvent{DoneEvent{u"Disk full", u""}}));
}

TEST_F(ExportCommandTest, AnUnopenableBookFailsTheRun) {
  MakeUnopenable();
  const ExportResult run = Run();
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(report.failure, (Failure{std::nullopt, kCannotOpen, {kNameAnother}}));
}

TEST_F(ExportCommandTest, AMissingParentOfTheDestinationIsPathNotFound) {
  const ExportArguments arguments{"/none/out", "", 3, 0, "", ""};
  const ExportResult run = RunExport(
      session, arguments, [] { return false; }, report);
  EXPECT_EQ(run.result, errors::kPathNotFound);
  EXPECT_EQ(report.failure, (Failure{76, "Path not found", {}}));
}

}  // namespace
}  // namespace orvane::cli
