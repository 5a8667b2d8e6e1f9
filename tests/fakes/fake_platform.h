#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "component/export_events.h"
#include "platform/platform_services.h"

namespace orvane::testing {

// UTF-16 to narrow text for assertions and messages (ASCII and UTF-8).
std::string Narrow(const std::u16string& text);
std::u16string Widen(const std::string& utf8);

// An in-memory disk shared by every FakeFileSystem made from one factory.
// Paths use "/"; the root "/" always exists.
struct FakeDisk {
  std::set<std::u16string> folders{u"/"};
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> read_only_files;  // the user may not write these
  std::u16string temporary_folder = u"/tmp/";
  int private_folders_made = 0;
  // Called before every operation with its name ("CreateFolder", "CopyFile",
  // "AppendToFile"...) and its first path; throw orvane::Error to make it fail.
  std::function<void(const std::string& operation, const std::u16string& path)> before;
  std::vector<std::string> operations;  // "CreateFolder /out/", in order

  void AddFolder(const std::u16string& path);
  void AddFile(const std::u16string& path, std::string bytes);
  bool HasFolder(const std::u16string& path) const;
  // The names directly inside a folder (files and folders).
  std::vector<std::u16string> List(const std::u16string& folder) const;
};

class FakeFileSystem final : public FileSystem {
 public:
  explicit FakeFileSystem(std::shared_ptr<FakeDisk> disk) : disk_(std::move(disk)) {}
  bool FolderExists(const std::u16string& path) override;
  void CreateFolder(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
  void DeleteFile(const std::u16string& path) override;
  void Deletefolder(const std::u16string& path) override;
  void CopyFile(const std::u16string& source, const std::u16string& destination) override;
  std::u16string GetParentFolderName(const std::u16string& path) override;
  std::u16string GetTemporaryFolder() override;
  // "run-1/", "run-2/"... inside the parent.
  std::u16string CreatePrivateFolder(const std::u16string& parent) override;
  void DeleteEmptyFolder(const std::u16string& path) override;
  void AppendToFile(const std::u16string& path, std::string_view bytes) override;
  std::string ReadFileBytes(const std::u16string& path) override;

 private:
  void Before(const std::string& operation, const std::u16string& path);
  std::shared_ptr<FakeDisk> disk_;
};

class FakeFileSystemFactory final : public FileSystemFactory {
 public:
  explicit FakeFileSystemFactory(std::shared_ptr<FakeDisk> disk) : disk_(std::move(disk)) {}
  std::unique_ptr<FileSystem> CreateFileSystem() override;
  int created = 0;

 private:
  std::shared_ptr<FakeDisk> disk_;
};

class FixedLocation final : public ComponentLocation {
 public:
  explicit FixedLocation(std::u16string path) : folder(std::move(path)) {}
  std::u16string ComponentFolder() override { return folder; }
  bool InSystemProgramFolder() override { return in_system_program_folder; }
  std::u16string folder;
  bool in_system_program_folder = false;
};

// Always 6 December 2026, 09:05:07; writes "06.12.2026" and "09:05:07".
class FixedClock final : public Clock {
 public:
  AutomationDate Now() override;
  std::u16string ShortDateText(AutomationDate date) override;
  std::u16string LongTimeText(AutomationDate date) override;
};

class FixedLanguage final : public UserLanguage {
 public:
  explicit FixedLanguage(uint16_t language) : id(language) {}
  uint16_t LanguageId() override { return id; }
  uint16_t id;
};

// Reports the zone it was made with.
class FixedTimeZone final : public TimeZone {
 public:
  explicit FixedTimeZone(TimeZoneInformation information = {}) : zone(information) {}
  TimeZoneInformation GetTimeZoneInformation() override { return zone; }
  TimeZoneInformation zone;
};

// Stores text as UTF-8, so tests read back exactly what was written.
class Utf8CodePage final : public CodePage {
 public:
  uint32_t Number() override { return 65001; }
  std::string FromUtf16(const std::u16string& text) override { return Narrow(text); }
  std::u16string ToUtf16(const std::string& bytes) override { return Widen(bytes); }
};

class RecordingMessageBox final : public MessageBox {
 public:
  void Show(const std::u16string& text, MessageBoxKind kind) override {
    shown.push_back({text, kind});
  }
  std::vector<std::pair<std::u16string, MessageBoxKind>> shown;
};

// A machine without the mail client.
class MissingOutlook final : public OutlookObjectModel {
 public:
  std::shared_ptr<OutlookApplication> CreateApplication() override;
  int attempts = 0;
};

// Records every event as one line: "progress 3 1 Alice" or "done [result] [log file]".
class RecordingEvents final : public ExportEvents {
 public:
  void ExportProgress(int16_t TotalCount, int16_t CurrentCount, const std::u16string& Text) override;
  void ExportDone(const std::u16string& Result, const std::u16string& LogFile) override;
  std::vector<std::string> lines;
  std::function<void(const std::string& line)> on_event;
};

// A platform made of the fakes above, with the component in /app.
struct FakePlatform {
  FakePlatform();
  PlatformServices services() const;

  std::shared_ptr<FakeDisk> disk = std::make_shared<FakeDisk>();
  std::shared_ptr<FakeFileSystemFactory> file_systems;
  std::shared_ptr<FixedLocation> location = std::make_shared<FixedLocation>(u"/app");
  std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
  std::shared_ptr<FixedLanguage> language = std::make_shared<FixedLanguage>(1033);
  std::shared_ptr<Utf8CodePage> code_page = std::make_shared<Utf8CodePage>();
  std::shared_ptr<RecordingMessageBox> message_box = std::make_shared<RecordingMessageBox>();
  std::shared_ptr<HookMessageLoop> message_loop = std::make_shared<HookMessageLoop>();
  std::shared_ptr<MissingOutlook> missing_outlook = std::make_shared<MissingOutlook>();
  // The mail client services() hands out; a test puts its FakeOutlook here first.
  std::shared_ptr<OutlookObjectModel> outlook = missing_outlook;
  std::shared_ptr<AddressBookLibrary> address_book;  // null unless a test sets one
  std::shared_ptr<TimeZone> time_zone;
  std::shared_ptr<FileTimeConverter> file_times;
};

}  // namespace orvane::testing
