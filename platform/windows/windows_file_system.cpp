#include "platform/windows/windows_file_system.h"

#include <algorithm>
#include <limits>

#include <sddl.h>
#include <bcrypt.h>

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

[[noreturn]] void ThrowForLastError(FailureKind kind = FailureKind::kFile) {
  ThrowForFailure(HRESULT_FROM_WIN32(GetLastError()), nullptr, kind);
}

std::u16string WithSeparator(std::u16string folder) {
  if (folder.empty() || (folder.back() != u'\\' && folder.back() != u'/')) folder += u'\\';
  return folder;
}

// Sixteen random hexadecimal digits.
std::u16string RandomName() {
  unsigned char bytes[8] = {};
  if (BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    throw Error(errors::kInternalError);
  }
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string name = u"run-";
  for (unsigned char byte : bytes) {
    name += kDigits[byte >> 4];
    name += kDigits[byte & 0xF];
  }
  return name;
}

// A security descriptor that gives the current user, and nobody else, the folder.
class OwnerOnlyDescriptor {
 public:
  OwnerOnlyDescriptor() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    wchar_t* sid_text = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid,
                               &sid_text)) {
      const std::wstring sddl = L"D:P(A;OICI;FA;;;" + std::wstring(sid_text) + L")";
      LocalFree(sid_text);
      ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                           &descriptor_, nullptr);
    }
    CloseHandle(token);
  }
  OwnerOnlyDescriptor(const OwnerOnlyDescriptor&) = delete;
  OwnerOnlyDescriptor& operator=(const OwnerOnlyDescriptor&) = delete;
  ~OwnerOnlyDescriptor() {
    if (descriptor_ != nullptr) LocalFree(descriptor_);
  }
  // Null when the user could not be found; the folder then inherits its parent's rights.
  PSECURITY_DESCRIPTOR get() const { return descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

}  // namespace

WindowsFileSystem::WindowsFileSystem()
    : object_(CreateDispatchObject(L"Scripting.FileSystemObject")) {}

bool WindowsFileSystem::FolderExists(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"FolderExists", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFolder);
  return TruthOf(*result);
}

void WindowsFileSystem::CreateFolder(const std::u16string& path) {
  Variant result;
  InvokeByName(object_.get(), u"CreateFolder", DISPATCH_METHOD, {{path}}, result.get(),
               FailureKind::kFolder);
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
               FailureKind::kFolder);
}

void WindowsFileSystem::CopyFile(const std::u16string& source, const std::u16string& destination) {
  // A write-protected file is not replaced, whichever object does the copying
  // (not every implementation of the scripting object refuses it).
  std::u16string target = destination;
  if (!target.empty() && (target.back() == u'\\' || target.back() == u'/')) {
    target += source.substr(source.find_last_of(u"\\/") + 1);
  }
  const DWORD attributes = GetFileAttributesW(WidePointer(target));
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    throw Error(errors::kPermissionDenied);
  }
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

std::u16string WindowsFileSystem::GetTemporaryFolder() {
  constexpr int32_t kTemporaryFolder = 2;
  Variant folder;
  InvokeByName(object_.get(), u"GetSpecialFolder", DISPATCH_METHOD, {{kTemporaryFolder}},
               folder.get(), FailureKind::kFile);
  Variant path;
  InvokeByName(DispatchOfVariant(*folder).get(), u"Path", DISPATCH_PROPERTYGET, {}, path.get(),
               FailureKind::kFile);
  return WithSeparator(TextOf(ValueOfVariant(*path)));
}

// Made in one step: a name that exists already is never taken over, only tried again.
std::u16string WindowsFileSystem::CreatePrivateFolder(const std::u16string& parent) {
  const OwnerOnlyDescriptor descriptor;
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), descriptor.get(), FALSE};
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::u16string folder = WithSeparator(parent) + RandomName();
    if (CreateDirectoryW(WidePointer(folder), descriptor.get() ? &attributes : nullptr)) {
      return folder + u'\\';
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) ThrowForLastError(FailureKind::kFolder);
  }
  throw Error(errors::kFileAlreadyExists);
}

void WindowsFileSystem::DeleteEmptyFolder(const std::u16string& path) {
  std::u16string folder = path;
  while (folder.size() > 1 && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
  if (folder.empty()) throw Error(errors::kPathNotFound);
  if (!RemoveDirectoryW(WidePointer(folder))) ThrowForLastError(FailureKind::kFolder);
}

// The bytes are already in the code page: written as they are, at the end. A
// write that fails part way takes back what it wrote.
void WindowsFileSystem::AppendToFile(const std::u16string& path, std::string_view bytes) {
  FileHandle file{CreateFileW(WidePointer(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) ThrowForLastError();
  LARGE_INTEGER end{};
  if (!SetFilePointerEx(file.handle, LARGE_INTEGER{}, &end, FILE_END)) ThrowForLastError();
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(
        std::min<size_t>(bytes.size(), std::numeric_limits<DWORD>::max() / 2));
    DWORD written = 0;
    DWORD error = WriteFile(file.handle, bytes.data(), chunk, &written, nullptr)
                      ? (written == 0 ? DWORD{ERROR_DISK_FULL} : DWORD{ERROR_SUCCESS})
                      : GetLastError();
    if (error != ERROR_SUCCESS) {
      SetFilePointerEx(file.handle, end, nullptr, FILE_BEGIN);
      SetEndOfFile(file.handle);
      ThrowForFailure(HRESULT_FROM_WIN32(error), nullptr, FailureKind::kFile);
    }
    bytes.remove_prefix(written);
  }
}

std::string WindowsFileSystem::ReadFileBytes(const std::u16string& path) {
  FileHandle file{CreateFileW(WidePointer(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) ThrowForLastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size)) ThrowForLastError();
  if (static_cast<uint64_t>(size.QuadPart) > std::numeric_limits<size_t>::max() / 2) {
    throw Error(errors::kOutOfMemory);
  }
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.handle, buffer, sizeof buffer, &read, nullptr)) ThrowForLastError();
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

std::unique_ptr<FileSystem> WindowsFileSystemFactory::CreateFileSystem() {
  return std::make_unique<WindowsFileSystem>();
}

}  // namespace orvane::windows
