#include "platform/windows/kwab/wab/wab32_location.h"

#include <string>

namespace orvane::windows::kwab {
namespace {

constexpr wchar_t kPathKey[] = L"Software\\Microsoft\\WAB\\DLLPath";
constexpr wchar_t kFileName[] = L"wab32.dll";

// The registered path, with environment variables expanded; empty when none.
std::wstring RegisteredPath() {
  DWORD size = 0;
  // A REG_EXPAND_SZ value comes expanded, as REG_SZ.
  const DWORD kinds = RRF_RT_REG_SZ;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kPathKey, nullptr, kinds, nullptr, nullptr, &size) !=
          ERROR_SUCCESS ||
      size < sizeof(wchar_t)) {
    return {};
  }
  // Room for a NUL that the stored text may lack.
  std::wstring path(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kPathKey, nullptr, kinds, nullptr, path.data(), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  path.resize(wcsnlen(path.c_str(), path.size()));
  return path;
}

std::wstring SystemFolderPath() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + kFileName;
}

// With its own folder searched first for what it loads in turn.
HMODULE LoadFrom(const std::wstring& path) {
  if (path.empty()) return nullptr;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE LoadWab32() {
  if (HMODULE registered = LoadFrom(RegisteredPath())) return registered;
  return LoadFrom(SystemFolderPath());
}

}  // namespace orvane::windows::kwab
