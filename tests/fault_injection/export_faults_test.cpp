#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <ostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hosts/assembly/standard_sources.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "platform/error.h"
#include "platform/posix/address_book/json_address_book.h"
#include "platform/posix/environment.h"
#include "platform/posix/mail_store/mail_store_object_model.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_file_time.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/temporary_folder.h"

namespace orvane::testing {
namespace {

// The real system calls, except the k-th, which fails with the chosen error.
class FaultAtCall final : public posix::SystemCalls {
 public:
  int fail_at = 0;  // 0: none fails
  int error = 0;
  int calls = 0;

  int Status(const std::string& p, struct stat& out) override {
    return Maybe([&] { return SystemCalls::Status(p, out); });
  }
  int LinkStatus(const std::string& p, struct stat& out) override {
    return Maybe([&] { return SystemCalls::LinkStatus(p, out); });
  }
  int MakeFolder(const std::string& p) override {
    return Maybe([&] { return SystemCalls::MakeFolder(p); });
  }
  int MakeUniqueFolder(std::string& t) override {
    return Maybe([&] { return SystemCalls::MakeUniqueFolder(t); });
  }
  int CheckWritable(const std::string& p) override {
    return Maybe([&] { return SystemCalls::CheckWritable(p); });
  }
  int RemoveFolder(const std::string& p) override {
    return Maybe([&] { return SystemCalls::RemoveFolder(p); });
  }
  int RemoveFile(const std::string& p) override {
    return Maybe([&] { return SystemCalls::RemoveFile(p); });
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Maybe([&] { return SystemCalls::Rename(from, to); });
  }
  int RenameWithoutReplacing(const std::string& from, const std::string& to) override {
    return Maybe([&] { return SystemCalls::RenameWithoutReplacing(from, to); });
  }
  int ListFolder(const std::string& p, std::vector<std::string>& names) override {
    return Maybe([&] { return SystemCalls::ListFolder(p, names); });
  }
  int Open(const std::string& p, int flags, mode_t mode, int& fd) override {
    return Maybe([&] { return SystemCalls::Open(p, flags, mode, fd); });
  }
  int CreateUniqueFile(std::string& t, mode_t mode, int& fd) override {
    return Maybe([&] { return SystemCalls::CreateUniqueFile(t, mode, fd); });
  }
  int FileStatus(int fd, struct stat& out) override {
    return Maybe([&] { return SystemCalls::FileStatus(fd, out); });
  }
  int Read(int fd, char* buffer, std::size_t size, std::size_t& count) override {
    return Maybe([&] { return SystemCalls::Read(fd, buffer, size, count); });
  }
  int Write(int fd, const char* bytes, std::size_t size, std::size_t& count) override {
    return Maybe([&] { return SystemCalls::Write(fd, bytes, size, count); });
  }
  int Truncate(int fd, off_t length) override {
    return Maybe([&] { return SystemCalls::Truncate(fd, length); });
  }
  int ChangeMode(int fd, mode_t mode) override {
    return Maybe([&] { return SystemCalls::ChangeMode(fd, mode); });
  }
  // The descriptor is gone whatever close() answers, so it is always closed.
  int Close(int fd) override {
    const int closed = SystemCalls::Close(fd);
    return ++calls == fail_at ? error : closed;
  }

 private:
  template <typename Call>
  int Maybe(Call call) {
    return ++calls == fail_at ? error : call();
  }
};

// Counts the sessions the component leaves open.
class SessionCountingLibrary final : public AddressBookLibrary {
 public:
  explicit SessionCountingLibrary(std::shared_ptr<AddressBookLibrary> inner)
      : inner_(std::move(inner)) {}
  int open_sessions = 0;

  int32_t kWabOpen(WabContext& c) override {
    const int32_t opened = inner_->kWabOpen(c);
    if (opened != 0) ++open_sessions;
    return opened;
  }
  int32_t kWabClose(WabContext& c) override {
    const int32_t closed = inner_->kWabClose(c);
    if (closed != 0) --open_sessions;
    return closed;
  }
  int32_t kWabGetNumEntries(WabContext& c) override { return inner_->kWabGetNumEntries(c); }
  int32_t kWabGetEntries(WabContext& c, WabEntry* first, int32_t n) override {
    return inner_->kWabGetEntries(c, first, n);
  }
  int32_t kWabFreeEntries(WabContext& c, WabEntry* first, int32_t n) override {
    return inner_->kWabFreeEntries(c, first, n);
  }
  int32_t kWabGetNumProps(WabContext& c, WabEntry& e) override {
    return inner_->kWabGetNumProps(c, e);
  }
  int32_t kWabGetPropTag(WabContext& c, WabEntry& e, int32_t i, int32_t r) override {
    return inner_->kWabGetPropTag(c, e, i, r);
  }
  int32_t kWabGetPropType(int32_t tag) override { return inner_->kWabGetPropType(tag); }
  int16_t kWabGetProp_String(WabContext& c, WabEntry& e, int32_t t, char* b, int32_t s,
                             int32_t* r) override {
    return inner_->kWabGetProp_String(c, e, t, b, s, r);
  }
  int16_t kWabGetProp_Short(WabContext& c, WabEntry& e, int32_t t, int16_t& v) override {
    return inner_->kWabGetProp_Short(c, e, t, v);
  }
  int16_t kWabGetProp_SysTime(WabContext& c, WabEntry& e, int32_t t, FileTime& v) override {
    return inner_->kWabGetProp_SysTime(c, e, t, v);
  }
  int16_t kWabGetProp_MV_String_Count(WabContext& c, WabEntry& e, int32_t t,
                                      int32_t& n) override {
    return inner_->kWabGetProp_MV_String_Count(c, e, t, n);
  }
  int16_t kWabGetProp_MV_String_Data(WabContext& c, WabEntry& e, int32_t t, char* b, int32_t s,
                                     int32_t* r, int32_t i) override {
    return inner_->kWabGetProp_MV_String_Data(c, e, t, b, s, r, i);
  }

 private:
  std::shared_ptr<AddressBookLibrary> inner_;
};

class UtcZone final : public TimeZone {
 public:
  TimeZoneInformation GetTimeZoneInformation() override { return {}; }
};

constexpr char kOldCard[] = "a card the user had before\r\n";
constexpr char kUsersFile[] = "keep me";

// One source exported whole: the address book, or the mail store's contacts or calendar.
struct Source {
  int16_t type;
  std::string stem;  // of the file names
  std::string extension;
  std::string finish, cancel;  // the run's last log line
  size_t files;                // that a clean run writes, the user's file included
};

// Names the source in the test's output.
void PrintTo(const Source& source, std::ostream* out) { *out << source.stem; }

const Source kSources[] = {
    {3, "ExpressvCard", ".vcf", "--Address book export finish--",
     "--Address book export cancel--", 13},
    {1, "OutlookvCard", ".vcf", "--Address book export finish--",
     "--Address book export cancel--", 8},
    {2, "OutlookvCal", ".vcs", "--Calendars export finish--", "--Calendars export cancel--", 4},
};

// One export of a sample store into "out" (which holds a file of the user's and
// an older item 2) with a log in "logs", on the real file layer.
struct ExportUnderFault {
  ExportUnderFault(const Source& source, int fail_at, int error) {
    calls->fail_at = fail_at;
    calls->error = error;
    folder.WriteFile("out/notes.txt", kUsersFile);
    folder.WriteFile("out/" + source.stem + "2" + source.extension, kOldCard);
    folder.MakeFolder("app");
    folder.MakeFolder("logs");
    folder.MakeFolder("tmpdir");

    auto code_page = std::make_shared<posix::PosixCodePage>(1252);
    auto zone = std::make_shared<UtcZone>();
    library = std::make_shared<SessionCountingLibrary>(posix::MakeJsonAddressBookLibrary(
        code_page, zone, ORVANE_SAMPLES_FOLDER "/address-book.json"));
    posix::MailStoreSettings mail{code_page, zone, ORVANE_SAMPLES_FOLDER "/mail-store.json",
                                  posix::ProcessMailStoreCache(), posix::ProcessEnvironment(),
                                  calls};
    FakePlatform fake;
    PlatformServices services = fake.services();
    services.file_systems =
        std::make_shared<posix::PosixFileSystemFactory>(calls, folder.path() + "/tmpdir");
    services.component_location = std::make_shared<FixedLocation>(folder.Path16("app"));
    services.code_page = code_page;
    services.time_zone = zone;
    services.file_times = std::make_shared<posix::PosixFileTimeConverter>();
    services.address_book = library;
    services.message_box = message_box;
    services.outlook = std::make_shared<posix::MailStoreObjectModel>(mail);

    Module module(services, MakeStandardSources());
    Orvane2 component(module);
    component.Advise(events);
    result = component.Export2(folder.Path16("out"), u"", source.type, std::nullopt, u"run.log",
                               folder.Path16("logs"));
  }

  std::shared_ptr<FaultAtCall> calls = std::make_shared<FaultAtCall>();
  TemporaryFolder folder;
  std::shared_ptr<SessionCountingLibrary> library;
  std::shared_ptr<RecordingMessageBox> message_box = std::make_shared<RecordingMessageBox>();
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();
  int32_t result = -1;
};

std::vector<std::string> Names(const std::string& listing) {
  std::vector<std::string> names;
  size_t start = 0;
  for (size_t blank; (blank = listing.find(' ', start)) != std::string::npos; start = blank + 1) {
    names.push_back(listing.substr(start, blank - start));
  }
  return names;
}

// What a run without faults writes: the reference every faulty run is held to.
struct CleanRun {
  explicit CleanRun(const Source& source) {
    ExportUnderFault run(source, 0, 0);
    EXPECT_EQ(run.result, 0);
    calls = run.calls->calls;
    for (const std::string& name : Names(run.folder.Listing("out"))) {
      cards[name] = run.folder.ReadFile("out/" + name);
    }
    log = run.folder.ReadFile("logs/run.log");
  }
  int calls = 0;
  std::map<std::string, std::string> cards;
  std::string log;
};

const std::set<int32_t> kFileErrors = {errors::kFileNotFound, errors::kFileAlreadyExists,
                                       errors::kDiskFull,     errors::kPermissionDenied,
                                       errors::kPathFileAccessError, errors::kPathNotFound};

// Whatever call fails, the run says so truthfully, removes its working folder,
// closes the address book, and leaves in the destination only files that were
// there before or complete items.
class FaultInjection : public ::testing::TestWithParam<Source> {};

TEST_P(FaultInjection, EveryFailingCallOfAWholeExportLosesNothing) {
  const Source& source = GetParam();
  const CleanRun clean(source);
  ASSERT_GT(clean.calls, 40);
  ASSERT_EQ(clean.cards.size(), source.files);
  const std::string& finish = source.finish;
  const std::string& cancel = source.cancel;
  const std::string older_name = source.stem + "2" + source.extension;

  int failed_runs = 0, stopped_runs = 0;
  for (const int error : {ENOENT, ENOTDIR, EACCES, ENOSPC}) {
    for (int k = 1; k <= clean.calls; ++k) {
      SCOPED_TRACE("call " + std::to_string(k) + " fails with errno " + std::to_string(error));
      const ExportUnderFault run(source, k, error);
      const std::string done = run.events->lines.back();
      failed_runs += run.result != 0;
      stopped_runs += !run.message_box->shown.empty();
      if (run.result == 0) {
        EXPECT_EQ(done.rfind("done [] ", 0), 0u) << done;
      } else {
        EXPECT_TRUE(kFileErrors.count(run.result)) << run.result;
        EXPECT_EQ(done.rfind("done [" + Narrow(DescriptionOf(run.result)) + "]", 0), 0u) << done;
      }
      EXPECT_EQ(run.library->open_sessions, 0);
      EXPECT_EQ(run.folder.Listing("tmpdir"), "");
      if (std::filesystem::exists(run.folder.path() + "/app/tmp")) {
        EXPECT_EQ(run.folder.Listing("app/tmp"), "") << "left in the working folder";
      }

      const std::string log = run.folder.ReadFile("logs/run.log");
      const bool finished = log.find(finish) != std::string::npos;
      if (!log.empty()) {
        EXPECT_EQ(log.substr(log.size() - 2), "\r\n") << "a whole block";
      }
      if (finished) {
        EXPECT_EQ(log, clean.log);
      }
      if (log.find(cancel) != std::string::npos) {
        EXPECT_FALSE(run.message_box->shown.empty());
      }

      for (const std::string& name : Names(run.folder.Listing("out"))) {
        SCOPED_TRACE(name);
        const std::string bytes = run.folder.ReadFile("out/" + name);
        const auto expected = clean.cards.find(name);
        ASSERT_NE(expected, clean.cards.end()) << "a file no run writes";
        const bool older = name == older_name && bytes == kOldCard;
        if (!older) {
          EXPECT_EQ(bytes, expected->second);
        }
        // A card in the destination is one the log lists as exported.
        if (name != "notes.txt" && !older && !log.empty()) {
          const std::string number = name.substr(
              source.stem.size(), name.size() - source.stem.size() - source.extension.size());
          EXPECT_NE(log.find("\r\n" + number + "\x01"), std::string::npos)
              << "a card the log does not list";
        }
      }
      if (finished) {
        EXPECT_EQ(Names(run.folder.Listing("out")).size(), clean.cards.size())
            << "a finished run wrote every card";
      }
    }
  }
  // Both ways a fault ends a run were reached: by its error, and stopped after a failed copy.
  EXPECT_GT(failed_runs, 0);
  EXPECT_GT(stopped_runs, 0);
}

INSTANTIATE_TEST_SUITE_P(Sources, FaultInjection, ::testing::ValuesIn(kSources),
                         [](const auto& source) { return source.param.stem; });

}  // namespace
}  // namespace orvane::testing
