#pragma once

// Platform stand-ins for the address-book tests, and the two ways in: FakeCall, a
// CallContext over a fresh SharedState with the entries fetched (for the layers below the
// component), and WabComponent, the component over the in-memory disk (destination /out,
// component in /app) and the fake library.

#include <iconv.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/fake_address_book.h"
#include "component/call_context.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

// A code page by its number through glibc's iconv; what it cannot convert is left out.
class IconvCodePage final : public CodePage {
 public:
  explicit IconvCodePage(uint32_t number) : number_(number), name_("CP" + std::to_string(number)) {}
  uint32_t Number() override { return number_; }
  std::string FromUtf16(const std::u16string& text) override {
    const auto* utf16le = reinterpret_cast<const char*>(text.data());
    return Convert(name_, "UTF-16LE", {utf16le, text.size() * 2});
  }
  std::u16string ToUtf16(const std::string& bytes) override {
    const std::string utf16le = Convert("UTF-16LE", name_, bytes);
    return {reinterpret_cast<const char16_t*>(utf16le.data()), utf16le.size() / 2};
  }

 private:
  static std::string Convert(const std::string& to, const std::string& from, std::string input) {
    iconv_t cd = iconv_open((to + "//IGNORE").c_str(), from.c_str());
    std::string output(input.size() * 4, '\0');
    char* in = input.data();
    char* out = output.data();
    size_t left = input.size(), room = output.size();
    iconv(cd, &in, &left, &out, &room);
    iconv_close(cd);
    return output.substr(0, output.size() - room);
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

// FileTimeToSystemTime by plain arithmetic, failing from 2^63 on (day of week left 0).
class FakeFileTimes final : public FileTimeConverter {
 public:
  bool FileTimeToSystemTime(const FileTime& time, SystemTime& out) override {
    if (time.ticks() >= (uint64_t{1} << 63)) return false;
    const auto p = PartsFromSeconds(static_cast<int64_t>(time.ticks() / 10'000'000) - 11644473600);
    const auto field = [](auto value) { return static_cast<int16_t>(value); };
    out = {field(p.year),   field(p.month),  0, field(p.day), field(p.hour),
           field(p.minute), field(p.second), field(time.ticks() / 10'000 % 1000)};
    return true;
  }
};

class FakeCall {
 public:
  FakeCall(std::vector<FakeEntry> entries, uint32_t code_page)
      : context(state, platform, [this](int16_t, const std::u16string&) {
          if (on_event) on_event();
        }) {
    platform.code_page = std::make_shared<IconvCodePage>(code_page);
    platform.file_times = std::make_shared<FakeFileTimes>();
    platform.address_book = book;
    // What a caller does before the writer runs: open the library and fill WabEntries.
    book->entries = std::move(entries);
    book->kWabOpen(state.WabContext);
    const auto n = static_cast<int32_t>(book->entries.size());
    state.WabEntries.assign(book->entries.size() + 1, WabEntry{});
    book->kWabGetEntries(state.WabContext, &state.WabEntries[1], n);
  }

  std::shared_ptr<FakeAddressBook> book = std::make_shared<FakeAddressBook>();
  SharedState state;
  PlatformServices platform;
  std::function<void()> on_event;  // a host's handler of the events raised
  CallContext context;
};

inline std::unique_ptr<FakeCall> CallOver(std::vector<FakeEntry> entries,
                                          uint32_t code_page = 1252) {
  return std::make_unique<FakeCall>(std::move(entries), code_page);
}

inline constexpr int16_t kAddressBook = 3;

struct WabComponent {
  WabComponent() { component.Advise(events); }

  void AddEntries(std::initializer_list<std::string> display_names) {
    for (const std::string& name : display_names) {
      book->entries.push_back(FakeEntry().Text(tags::PR_DISPLAY_NAME, name));
    }
  }
  // The library closed, every fetched entry freed, and WabEntries back to its single element.
  bool LibraryReleased() {
    return !book->session_open && !book->entries_outstanding &&
           module.ThreadState().WabEntries.size() == 1;
  }
  std::string File(const std::u16string& path) const {
    const auto found = fake.disk->files.find(path);
    return found == fake.disk->files.end() ? "(no file)" : found->second;
  }

  FakePlatform fake;
  std::shared_ptr<FakeAddressBook> book = std::make_shared<FakeAddressBook>();
  std::shared_ptr<FixedTimeZone> time_zone = std::make_shared<FixedTimeZone>();
  Module module{Services()};
  Orvane2 component{module};
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();

 private:
  PlatformServices Services() {
    fake.address_book = book;
    fake.time_zone = time_zone;
    fake.file_times = std::make_shared<FakeFileTimes>();
    fake.disk->AddFolder(u"/out");
    return fake.services();
  }
};

}  // namespace orvane::testing
