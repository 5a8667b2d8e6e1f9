#pragma once

// The platform of the address-book tests: the platform fakes (UTF-8 code page, component
// in /app, destination /out), the fake library, POSIX FILETIME arithmetic and a fixed time
// zone; and FakeCall, a CallContext over it with the entries fetched, for the layers below
// the component.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/fake_address_book.h"
#include "component/call_context.h"
#include "platform/posix/posix_file_time.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

struct WabPlatform {
  PlatformServices Services() {
    fake.address_book = book;
    fake.time_zone = time_zone;
    fake.file_times = std::make_shared<posix::PosixFileTimeConverter>();
    fake.disk->AddFolder(u"/out");
    return fake.services();
  }

  FakePlatform fake;
  std::shared_ptr<FakeAddressBook> book = std::make_shared<FakeAddressBook>();
  std::shared_ptr<FixedTimeZone> time_zone = std::make_shared<FixedTimeZone>();
};

// What a caller of the writer has done before: the library opened and WabEntries filled.
struct FakeCall : WabPlatform {
  explicit FakeCall(std::vector<FakeEntry> entries) {
    book->entries = std::move(entries);
    book->kWabOpen(state.WabContext);
    state.WabEntries.assign(book->entries.size() + 1, WabEntry{});
    book->kWabGetEntries(state.WabContext, &state.WabEntries[1],
                         static_cast<int32_t>(book->entries.size()));
  }

  SharedState state;
  PlatformServices platform = Services();
  std::function<void()> on_event;  // a host's handler of the events raised
  CallContext context{state, platform, [this](int16_t, const std::u16string&) {
                        if (on_event) on_event();
                      }};
};

}  // namespace orvane::testing
