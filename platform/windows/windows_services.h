#pragma once

#include "platform/windows/windows_headers.h"

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/component_location.h"
#include "platform/file_time.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/time_zone.h"
#include "platform/user_language.h"

namespace orvane::windows {

// The folder of the module (the DLL) that holds the component, with a trailing "\".
class WindowsComponentLocation final : public ComponentLocation {
 public:
  explicit WindowsComponentLocation(HMODULE module) : module_(module) {}
  std::u16string ComponentFolder() override;

 private:
  HMODULE module_;
};

// The user's short date and long time formats.
class WindowsClock final : public Clock {
 public:
  AutomationDate Now() override;
  std::u16string ShortDateText(AutomationDate date) override;
  std::u16string LongTimeText(AutomationDate date) override;
};

class WindowsUserLanguage final : public UserLanguage {
 public:
  uint16_t LanguageId() override;
};

// The system's ANSI code page.
class WindowsCodePage final : public CodePage {
 public:
  uint32_t Number() override;
  std::string FromUtf16(const std::u16string& text) override;
  std::u16string ToUtf16(const std::string& bytes) override;
};

class WindowsMessageBox final : public MessageBox {
 public:
  void Show(const std::u16string& text, MessageBoxKind kind) override;
};

// Dispatches every window message waiting on this thread, then returns.
class WindowsMessageLoop final : public MessageLoop {
 public:
  void YieldToPendingMessages() override;
};

class WindowsTimeZone final : public TimeZone {
 public:
  TimeZoneInformation GetTimeZoneInformation() override;
};

class WindowsFileTimeConverter final : public FileTimeConverter {
 public:
  bool FileTimeToSystemTime(const FileTime& time, SystemTime& out) override;
};

}  // namespace orvane::windows
