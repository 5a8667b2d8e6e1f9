#include "platform/windows/windows_services.h"


#include <optional>
#include <vector>

#include "platform/windows/com_support.h"

namespace orvane::windows {
namespace {

std::optional<SYSTEMTIME> SystemTimeOfDate(AutomationDate date) {
  SYSTEMTIME time{};
  if (!VariantTimeToSystemTime(date, &time)) return std::nullopt;
  return time;
}

// Asks for the size first, then for the text.
template <typename Format>
std::u16string FormattedText(Format format) {
  const int size = format(nullptr, 0);
  if (size <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(size));
  const int written = format(buffer.data(), size);
  if (written <= 0) return {};
  return TextOfWide(buffer.data(), static_cast<size_t>(written - 1));
}

}  // namespace

std::u16string WindowsComponentLocation::ComponentFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::u16string folder = TextOfWide(path.data(), length);
      return folder.substr(0, folder.find_last_of(u"\\/") + 1);
    }
    path.resize(path.size() * 2);
  }
}

AutomationDate WindowsClock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  now.wMilliseconds = 0;
  double date = 0;
  SystemTimeToVariantTime(&now, &date);
  return date;
}

std::u16string WindowsClock::ShortDateText(AutomationDate date) {
  const std::optional<SYSTEMTIME> time = SystemTimeOfDate(date);
  if (!time) return {};
  return FormattedText([&](wchar_t* buffer, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &*time, nullptr, buffer, size,
                           nullptr);
  });
}

std::u16string WindowsClock::LongTimeText(AutomationDate date) {
  const std::optional<SYSTEMTIME> time = SystemTimeOfDate(date);
  if (!time) return {};
  return FormattedText([&](wchar_t* buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &*time, nullptr, buffer, size);
  });
}

uint16_t WindowsUserLanguage::LanguageId() { return GetUserDefaultUILanguage(); }

uint32_t WindowsCodePage::Number() { return GetACP(); }

std::string WindowsCodePage::FromUtf16(const std::u16string& text) {
  if (text.empty()) return {};
  const UINT code_page = GetACP();
  // UTF-8 takes no default character and no flags; every other code page writes "?"
  // for what it lacks, never a look-alike ("," for a full-width comma) that would
  // change the text, as the POSIX build does too.
  const bool utf8 = code_page == CP_UTF8;
  const char* fallback = utf8 ? nullptr : "?";
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(code_page, flags, WidePointer(text), length, nullptr, 0,
                                       fallback, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(code_page, flags, WidePointer(text), length, bytes.data(), size, fallback,
                      nullptr);
  return bytes;
}

std::u16string WindowsCodePage::ToUtf16(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(GetACP(), 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::u16string text(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(GetACP(), 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                      size);
  return text;
}

void WindowsMessageBox::Show(const std::u16string& text, MessageBoxKind kind) {
  const UINT icon = kind == MessageBoxKind::kCritical ? MB_ICONERROR : MB_ICONINFORMATION;
  MessageBoxW(nullptr, WidePointer(text), L"Orvane", MB_OK | icon | MB_TASKMODAL);
}

void WindowsMessageLoop::YieldToPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The host's loop must still see the request to end.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

TimeZoneInformation WindowsTimeZone::GetTimeZoneInformation() {
  TIME_ZONE_INFORMATION zone{};
  const DWORD result = ::GetTimeZoneInformation(&zone);
  TimeZoneInformation information;
  switch (result) {
    case TIME_ZONE_ID_STANDARD: information.result = TimeZoneInformation::kStandard; break;
    case TIME_ZONE_ID_DAYLIGHT: information.result = TimeZoneInformation::kDaylight; break;
    case TIME_ZONE_ID_UNKNOWN: information.result = TimeZoneInformation::kUnknown; break;
    default: information.result = TimeZoneInformation::kInvalid; return information;
  }
  information.bias = zone.Bias;
  information.standard_bias = zone.StandardBias;
  information.daylight_bias = zone.DaylightBias;
  return information;
}

bool WindowsFileTimeConverter::FileTimeToSystemTime(const FileTime& time, SystemTime& out) {
  const FILETIME file_time{time.dwLowDateTime, time.dwHighDateTime};
  SYSTEMTIME system_time{};
  if (!::FileTimeToSystemTime(&file_time, &system_time)) return false;
  out = SystemTime{static_cast<int16_t>(system_time.wYear),
                   static_cast<int16_t>(system_time.wMonth),
                   static_cast<int16_t>(system_time.wDayOfWeek),
                   static_cast<int16_t>(system_time.wDay),
                   static_cast<int16_t>(system_time.wHour),
                   static_cast<int16_t>(system_time.wMinute),
                   static_cast<int16_t>(system_time.wSecond),
                   static_cast<int16_t>(system_time.wMilliseconds)};
  return true;
}

}  // namespace orvane::windows
