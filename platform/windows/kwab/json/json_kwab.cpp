// kwab.dll over the JSON stand-in store of the POSIX build: the same reader,
// with the Windows code page, time zone and file access. It opens the file
// that the environment variable ORVANE_ADDRESS_BOOK names.

#include <optional>
#include <string>

#include "platform/posix/address_book/document_cache.h"
#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/windows/kwab/json/windows_file_reader.h"
#include "platform/windows/kwab/kwab_library.h"
#include "platform/windows/windows_headers.h"
#include "platform/windows/windows_services.h"

namespace orvane::windows::kwab {
namespace {

constexpr wchar_t kFileVariable[] = L"ORVANE_ADDRESS_BOOK";

std::optional<std::string> FileVariable() {
  wchar_t value[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableW(kFileVariable, value, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return std::nullopt;
  const int size = WideCharToMultiByte(CP_UTF8, 0, value, static_cast<int>(length), nullptr, 0,
                                       nullptr, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value, static_cast<int>(length), text.data(), size, nullptr,
                      nullptr);
  return text;
}

// Of the variables that place the file on POSIX systems, only the one that
// names it has a meaning here.
std::optional<std::string> WindowsEnvironment(const std::string& name) {
  if (name != "ORVANE_ADDRESS_BOOK") return std::nullopt;
  return FileVariable();
}

}  // namespace

std::shared_ptr<AddressBookLibrary> MakeKwabLibrary() {
  return posix::MakeJsonAddressBookLibrary(posix::JsonAddressBookSettings{
      std::make_shared<WindowsCodePage>(),
      std::make_shared<WindowsTimeZone>(),
      {},
      std::make_shared<posix::DocumentCache>(MakeWindowsFileReader()),
      WindowsEnvironment});
}

}  // namespace orvane::windows::kwab
