#pragma once

// A few helpers for the C++ host that drives Orvane.dll under Wine: checks
// that count and report failures, owned COM values, small file helpers.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace orvane::com_test {

inline int failures = 0;
inline int checks = 0;

inline void Report(bool passed, const char* what, const char* file, int line) {
  ++checks;
  if (passed) return;
  ++failures;
  std::printf("FAILED %s:%d: %s\n", file, line, what);
  std::fflush(stdout);
}

#define CHECK(condition) ::orvane::com_test::Report((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
  ::orvane::com_test::Report((actual) == (expected), #actual " == " #expected, __FILE__, __LINE__)

// A BSTR that frees itself.
class Text {
 public:
  explicit Text(const wchar_t* text = L"") : text_(SysAllocString(text)) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(text_); }
  BSTR* operator&() { return &text_; }
  std::wstring str() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : L""; }
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

// An interface pointer that releases itself.
template <class Interface>
class Owned {
 public:
  explicit Owned(Interface* pointer = nullptr) : pointer_(pointer) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }
  void reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }
  Interface** put() { return &pointer_; }
  void** put_void() { return reinterpret_cast<void**>(&pointer_); }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_;
};

inline bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

inline bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// The names in a folder, sorted.
inline std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orvane::com_test
