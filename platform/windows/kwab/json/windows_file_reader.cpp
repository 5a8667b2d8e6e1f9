#include "platform/windows/kwab/json/windows_file_reader.h"

#include <string>

#include "platform/windows/windows_headers.h"

namespace orvane::windows::kwab {
namespace {

std::wstring WideOfUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string ReasonOf(DWORD code) { return "Windows error " + std::to_string(code); }

// Closes the handle on every way out.
class OpenFile {
 public:
  OpenFile(const std::string& path, DWORD access)
      : handle_(CreateFileW(WideOfUtf8(path).c_str(), access,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  HANDLE handle() const { return handle_; }

 private:
  HANDLE handle_;
};

std::optional<posix::FileStamp> StampOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) return std::nullopt;
  const auto join = [](DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; };
  const uint64_t modified =
      join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime);
  return posix::FileStamp{
      information.dwVolumeSerialNumber, join(information.nFileIndexHigh, information.nFileIndexLow),
      static_cast<int64_t>(join(information.nFileSizeHigh, information.nFileSizeLow)),
      static_cast<int64_t>(modified / 10'000'000),
      static_cast<int64_t>(modified % 10'000'000) * 100};
}

class WindowsFileReader final : public posix::StampedFileReader {
 public:
  std::optional<posix::FileStamp> StampOf(const std::string& path) override {
    const OpenFile file(path, FILE_READ_ATTRIBUTES);
    if (file.handle() == INVALID_HANDLE_VALUE) return std::nullopt;
    return StampOfHandle(file.handle());
  }

  std::variant<posix::FileContent, std::string> Read(const std::string& path) override {
    const OpenFile file(path, GENERIC_READ);
    if (file.handle() == INVALID_HANDLE_VALUE) return ReasonOf(GetLastError());
    if (GetFileType(file.handle()) != FILE_TYPE_DISK) return std::string("not a regular file");
    const auto stamp = StampOfHandle(file.handle());
    if (!stamp) return ReasonOf(GetLastError());
    posix::FileContent content{*stamp, {}};
    content.bytes.reserve(static_cast<size_t>(stamp->size));
    char buffer[65536];
    for (;;) {
      DWORD count = 0;
      if (!ReadFile(file.handle(), buffer, sizeof buffer, &count, nullptr)) {
        return ReasonOf(GetLastError());
      }
      if (count == 0) return content;
      content.bytes.append(buffer, count);
    }
  }
};

}  // namespace

std::shared_ptr<posix::StampedFileReader> MakeWindowsFileReader() {
  return std::make_shared<WindowsFileReader>();
}

}  // namespace orvane::windows::kwab
