#include "tests/fakes/fake_platform.h"

#include <algorithm>

#include "platform/automation_date.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

std::u16string WithoutTrailingSlash(std::u16string path) {
  while (path.size() > 1 && path.back() == u'/') path.pop_back();
  return path;
}

std::u16string FileName(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string ParentOf(const std::u16string& path) {
  const std::u16string trimmed = WithoutTrailingSlash(path);
  const size_t slash = trimmed.rfind(u'/');
  if (slash == std::u16string::npos) return u"";
  return slash == 0 ? u"/" : trimmed.substr(0, slash);
}

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Widen(const std::string& utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    uint32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

void FakeDisk::AddFolder(const std::u16string& path) { folders.insert(WithoutTrailingSlash(path)); }

void FakeDisk::AddFile(const std::u16string& path, std::string bytes) {
  files[path] = std::move(bytes);
}

bool FakeDisk::HasFolder(const std::u16string& path) const {
  return folders.count(WithoutTrailingSlash(path)) != 0;
}

std::vector<std::u16string> FakeDisk::List(const std::u16string& folder) const {
  const std::u16string base = WithoutTrailingSlash(folder);
  std::vector<std::u16string> names;
  for (const auto& [path, bytes] : files) {
    if (ParentOf(path) == base) names.push_back(FileName(path));
  }
  for (const std::u16string& path : folders) {
    if (path != u"/" && ParentOf(path) == base) names.push_back(FileName(path));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void FakeFileSystem::Before(const std::string& operation, const std::u16string& path) {
  disk_->operations.push_back(operation + " " + Narrow(path));
  if (disk_->before) disk_->before(operation, path);
}

bool FakeFileSystem::FolderExists(const std::u16string& path) {
  Before("FolderExists", path);
  return disk_->HasFolder(path);
}

void FakeFileSystem::CreateFolder(const std::u16string& path) {
  Before("CreateFolder", path);
  const std::u16string folder = WithoutTrailingSlash(path);
  if (disk_->HasFolder(folder) || disk_->files.count(folder)) throw Error(errors::kFileAlreadyExists);
  if (!disk_->HasFolder(ParentOf(folder))) throw Error(errors::kPathNotFound);
  disk_->folders.insert(folder);
}

bool FakeFileSystem::FileExists(const std::u16string& path) {
  Before("FileExists", path);
  return disk_->files.count(path) != 0;
}

void FakeFileSystem::DeleteFile(const std::u16string& path) {
  Before("DeleteFile", path);
  if (disk_->files.count(path) == 0) throw Error(errors::kFileNotFound);
  if (disk_->read_only_files.count(path) != 0) throw Error(errors::kPermissionDenied);
  disk_->files.erase(path);
}

void FakeFileSystem::Deletefolder(const std::u16string& path) {
  Before("Deletefolder", path);
  const std::u16string folder = WithoutTrailingSlash(path);
  if (!disk_->HasFolder(folder)) throw Error(errors::kPathNotFound);
  const std::u16string inside = folder + u"/";
  std::erase_if(disk_->files, [&](const auto& file) { return StartsWith(file.first, inside); });
  std::erase_if(disk_->folders,
                [&](const std::u16string& f) { return f == folder || StartsWith(f, inside); });
}

void FakeFileSystem::CopyFile(const std::u16string& source, const std::u16string& destination) {
  Before("CopyFile", source);
  const auto found = disk_->files.find(source);
  if (found == disk_->files.end()) throw Error(errors::kFileNotFound);
  std::u16string target = destination;
  if (!target.empty() && target.back() == u'/') target += FileName(source);
  if (!disk_->HasFolder(ParentOf(target))) throw Error(errors::kPathNotFound);
  if (disk_->read_only_files.count(target) != 0) throw Error(errors::kPermissionDenied);
  disk_->files[target] = found->second;
}

std::u16string FakeFileSystem::GetTemporaryFolder() {
  Before("GetTemporaryFolder", disk_->temporary_folder);
  return disk_->temporary_folder;
}

std::u16string FakeFileSystem::CreatePrivateFolder(const std::u16string& parent) {
  Before("CreatePrivateFolder", parent);
  const std::u16string base = WithoutTrailingSlash(parent);
  if (!disk_->HasFolder(base)) throw Error(errors::kPathNotFound);
  const std::u16string folder = (base == u"/" ? u"" : base) + u"/run-" +
                                Widen(std::to_string(++disk_->private_folders_made));
  disk_->folders.insert(folder);
  return folder + u"/";
}

void FakeFileSystem::DeleteEmptyFolder(const std::u16string& path) {
  Before("DeleteEmptyFolder", path);
  const std::u16string folder = WithoutTrailingSlash(path);
  if (!disk_->HasFolder(folder)) throw Error(errors::kPathNotFound);
  if (!disk_->List(folder).empty()) throw Error(errors::kPathFileAccessError);
  disk_->folders.erase(folder);
}

std::u16string FakeFileSystem::GetParentFolderName(const std::u16string& path) {
  Before("GetParentFolderName", path);
  return ParentOf(path);
}

void FakeFileSystem::AppendToFile(const std::u16string& path, std::string_view bytes) {
  Before("AppendToFile", path);
  if (!disk_->HasFolder(ParentOf(path))) throw Error(errors::kPathNotFound);
  disk_->files[path] += bytes;
}

std::string FakeFileSystem::ReadFileBytes(const std::u16string& path) {
  Before("ReadFileBytes", path);
  const auto found = disk_->files.find(path);
  if (found != disk_->files.end()) return found->second;
  throw Error(disk_->HasFolder(ParentOf(path)) ? errors::kFileNotFound : errors::kPathNotFound);
}

std::unique_ptr<FileSystem> FakeFileSystemFactory::CreateFileSystem() {
  ++created;
  return std::make_unique<FakeFileSystem>(disk_);
}

AutomationDate FixedClock::Now() { return AutomationDateFromParts({2026, 12, 6, 9, 5, 7}); }

std::u16string FixedClock::ShortDateText(AutomationDate date) {
  const DateTimeParts p = PartsFromAutomationDate(date).value();
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", p.day, p.month, p.year);
  return Widen(text);
}

std::u16string FixedClock::LongTimeText(AutomationDate date) {
  const DateTimeParts p = PartsFromAutomationDate(date).value();
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  return Widen(text);
}

std::shared_ptr<OutlookApplication> MissingOutlook::CreateApplication() {
  ++attempts;
  throw Error(429, u"Can't create object");
}

void RecordingEvents::ExportProgress(int16_t TotalCount, int16_t CurrentCount,
                                     const std::u16string& Text) {
  lines.push_back("progress " + std::to_string(TotalCount) + " " + std::to_string(CurrentCount) +
                  " " + Narrow(Text));
  if (on_event) on_event(lines.back());
}

void RecordingEvents::ExportDone(const std::u16string& Result, const std::u16string& LogFile) {
  lines.push_back("done [" + Narrow(Result) + "] [" + Narrow(LogFile) + "]");
  if (on_event) on_event(lines.back());
}

FakePlatform::FakePlatform() : file_systems(std::make_shared<FakeFileSystemFactory>(disk)) {
  disk->AddFolder(u"/app");
}

PlatformServices FakePlatform::services() const {
  PlatformServices services;
  services.path_separator = u'/';
  services.file_systems = file_systems;
  services.component_location = location;
  services.clock = clock;
  services.language = language;
  services.code_page = code_page;
  services.message_box = message_box;
  services.message_loop = message_loop;
  services.outlook = outlook;
  services.address_book = address_book;
  services.time_zone = time_zone;
  services.file_times = file_times;
  return services;
}

}  // namespace orvane::testing
