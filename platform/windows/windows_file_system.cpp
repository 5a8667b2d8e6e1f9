#include "platform/windows/windows_file_system.h"

#include <algorithm>
#include <limits>

#include "platform/windows/automation_call.h"

namespace orvane::windows {
namespace {

bool TruthOf(const VARIANT& variant) {
  return std::visit(
      [](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) return value;
        else if constexpr (std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t> ||
                           std::is_same_v<T, double>) return value != 0;
        else return false;
      },
      ValueOfVariant(variant));
}

// Closes a file handle on every path out.
struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

[[noreturn]] void ThrowForLastError() {
  ThrowForFailure(HRESULT_FROM_WIN32(GetLastError()), nullptr, FailureKind::kFile);
}

}  // namespace

WindowsFileSystem::WindowsFileSystem()
    : object_(CreateDispatchObject(L"Scripting.FileSystemObject")) {}

bool WindowsFileSystem::FolderExists(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"FolderExists", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFile);
  return TruthOf(*result);
}

void WindowsFileSystem::CreateFolder(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"CreateFolder", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFile);
}

bool WindowsFileSystem::FileExists(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"FileExists", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFile);
  return TruthOf(*result);
}

void WindowsFileSystem::DeleteFile(const std::u16string& path) {
  InvokeByName(object_.get(), u"DeleteFile", DISPATCH_METHOD, {{path}}, nullptr,
               FailureKind::kFile);
}

void WindowsFileSystem::Deletefolder(const std::u16string& path) {
  InvokeByName(object_.get(), u"DeleteFolder", DISPATCH_METHOD, {{path}}, nullptr,
               FailureKind::kFile);
}

void WindowsFileSystem::CopyFile(const std::u16string& source, const std::u16string& destination) {
  // Overwriting is the object's default; it is passed so that no implementation differs.
  InvokeByName(object_.get(), u"CopyFile", DISPATCH_METHOD, {{source}, {destination}, {true}},
               nullptr, FailureKind::kFile);
}

std::u16string WindowsFileSystem::GetParentFolderName(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"GetParentFolderName", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFile);
  return TextOf(ValueOfVariant(*result));
}

// The bytes are already in the code page: written as they are, at the end.
void WindowsFileSystem::AppendToFile(const std::u16string& path, std::string_view bytes) {
  FileHandle file{CreateFileW(WidePointer(path), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) ThrowForLastError();
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(
        std::min<size_t>(bytes.size(), std::numeric_limits<DWORD>::max() / 2));
    DWORD written = 0;
    if (!WriteFile(file.handle, bytes.data(), chunk, &written, nullptr)) ThrowForLastError();
    if (written == 0) ThrowForFailure(HRESULT_FROM_WIN32(ERROR_DISK_FULL), nullptr,
                                      FailureKind::kFile);
    bytes.remove_prefix(written);
  }
}

std::unique_ptr<FileSystem> WindowsFileSystemFactory::CreateFileSystem() {
  return std::make_unique<WindowsFileSystem>();
}

}  // namespace orvane::windows
