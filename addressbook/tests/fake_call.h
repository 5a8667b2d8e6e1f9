#pragma once

// Platform stand-ins for the address-book tests (a code page through iconv, a
// fixed time zone, FileTimeToSystemTime) and FakeCall, a CallContext over
// a fresh SharedState that records every event it raises.
//
//   FakeCall call(book);               // code page 1252, no time-zone bias
//   FakeCall call(book, 950);          // a double-byte code page
//   call.FetchEntries();               // open, fill WabEntries 1..n, zero book->calls
//   BuildWabVCard(call.context, 1, 0.0f, 0);
//   call.events                        // (kind, TotalCount, CurrentCount, ProgressText)
//   call.on_event = [&](const RecordedEvent&) { ... };   // a host's handler

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "addressbook/tests/fake_address_book.h"
#include "component/call_context.h"
#include "platform/platform_services.h"

namespace orvane::testing {

// A code page by its number (1252, 950, 936) through glibc's iconv. A character it cannot
// hold becomes "?", and so does a byte sequence it cannot read.
class IconvCodePage final : public CodePage {
 public:
  explicit IconvCodePage(uint32_t number) : number_(number), name_("CP" + std::to_string(number)) {}

  uint32_t Number() override { return number_; }

  std::string FromUtf16(const std::u16string& text) override {
    std::string utf16le(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
      utf16le[2 * i] = static_cast<char>(text[i] & 0xFF);
      utf16le[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return Convert("UTF-16LE", name_.c_str(), utf16le, 2, "?");
  }

  std::u16string ToUtf16(const std::string& bytes) override {
    const std::string utf16le = Convert(name_.c_str(), "UTF-16LE", bytes, 1, std::string("?\0", 2));
    std::u16string text(utf16le.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<uint8_t>(utf16le[2 * i]) |
                                      (static_cast<uint8_t>(utf16le[2 * i + 1]) << 8));
    }
    return text;
  }

 private:
  // Converts `input`; at a sequence `to` cannot take or `from` cannot read, writes
  // `replacement` and skips `unit` bytes (two for a surrogate pair).
  static std::string Convert(const char* from, const char* to, const std::string& input,
                             size_t unit, const std::string& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv converter");
    std::string output;
    std::string in = input;
    char* in_ptr = in.data();
    size_t in_left = in.size();
    while (in_left > 0) {
      char chunk[256];
      char* out_ptr = chunk;
      size_t out_left = sizeof chunk;
      const size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
      output.append(chunk, static_cast<size_t>(out_ptr - chunk));
      if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
      output += replacement;
      size_t skip = std::min(unit, in_left);
      if (unit == 2 && in_left >= 4 && (static_cast<uint8_t>(in_ptr[1]) & 0xFC) == 0xD8) skip = 4;
      in_ptr += skip;
      in_left -= skip;
    }
    iconv_close(cd);
    return output;
  }

  uint32_t number_;
  std::string name_;
};

class FixedTimeZone final : public TimeZone {
 public:
  explicit FixedTimeZone(TimeZoneInformation information = {}) : zone(information) {}
  TimeZoneInformation GetTimeZoneInformation() override { return zone; }
  TimeZoneInformation zone;
};

// FileTimeToSystemTime: plain arithmetic, failing from 2^63 on.
class FakeFileTimes final : public FileTimeConverter {
 public:
  bool FileTimeToSystemTime(const FileTime& time, SystemTime& out) override {
    ++calls;
    if (time.ticks() >= (uint64_t{1} << 63)) return false;
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
    const auto ticks = static_cast<int64_t>(time.ticks());
    const int64_t seconds = ticks / 10'000'000 - kSecondsFrom1601To1970;
    const DateTimeParts parts = PartsFromSeconds(seconds);
    out.wYear = static_cast<int16_t>(parts.year);
    out.wMonth = static_cast<int16_t>(parts.month);
    out.wDay = static_cast<int16_t>(parts.day);
    out.wHour = static_cast<int16_t>(parts.hour);
    out.wMinute = static_cast<int16_t>(parts.minute);
    out.wSecond = static_cast<int16_t>(parts.second);
    out.wMilliseconds = static_cast<int16_t>(ticks / 10'000 % 1000);
    const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    out.wDayOfWeek = static_cast<int16_t>(WeekdayFromDays(days));
    return true;
  }
  int calls = 0;
};

struct RecordedEvent {
  int16_t kind;
  int16_t total;
  int16_t current;
  std::u16string text;
  std::u16string log_text;  // LogText at the moment of the event

  friend bool operator==(const RecordedEvent& a, const RecordedEvent& b) {
    return a.kind == b.kind && a.total == b.total && a.current == b.current && a.text == b.text;
  }
};

class FakeCall {
 public:
  explicit FakeCall(std::shared_ptr<FakeAddressBook> library, uint32_t code_page_number = 1252)
      : book(std::move(library)),
        code_page(std::make_shared<IconvCodePage>(code_page_number)),
        time_zone(std::make_shared<FixedTimeZone>()),
        file_times(std::make_shared<FakeFileTimes>()),
        platform(MakePlatform()),
        context(state, platform, [this](int16_t kind, const std::u16string&) { Record(kind); }) {}

  FakeCall(const FakeCall&) = delete;
  FakeCall& operator=(const FakeCall&) = delete;

  // What a caller does before the writer runs: open the library and fill
  // WabEntries 1 to n. The call counts start again from zero afterwards.
  void FetchEntries() {
    book->kWabOpen(state.WabContext);
    const int32_t count = book->kWabGetNumEntries(state.WabContext);
    state.WabEntries.assign(static_cast<size_t>(std::max(count, 0)) + 1, WabEntry{});
    if (count > 0) book->kWabGetEntries(state.WabContext, &state.WabEntries[1], count);
    book->calls = {};
    book->reads.clear();
  }

  std::shared_ptr<FakeAddressBook> book;
  std::shared_ptr<IconvCodePage> code_page;
  std::shared_ptr<FixedTimeZone> time_zone;
  std::shared_ptr<FakeFileTimes> file_times;
  SharedState state;
  PlatformServices platform;
  std::vector<RecordedEvent> events;
  std::function<void(const RecordedEvent&)> on_event;
  CallContext context;

 private:
  PlatformServices MakePlatform() {
    PlatformServices services;
    services.address_book = book;
    services.code_page = code_page;
    services.time_zone = time_zone;
    services.file_times = file_times;
    return services;
  }

  void Record(int16_t kind) {
    events.push_back({kind, state.TotalCount, state.CurrentCount, state.ProgressText,
                      state.LogText});
    if (on_event) on_event(events.back());
  }
};

}  // namespace orvane::testing
