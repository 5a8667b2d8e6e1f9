#pragma once

// The component over the in-memory disk and the fake address-book library, for
// the tests of the address-book items and export run.
//
//   WabComponent wab;                       // no entries, a zone without offset
//   wab.book->AddEntry(Named("Ann"));
//   wab.SetZone(-480);                      // eight hours east of UTC
//   wab.component.GetItem(1, 3, title, modified);
//   EXPECT_TRUE(wab.LibraryReleased());

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/fake_address_book.h"
#include "addressbook/tests/fake_call.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

inline constexpr int16_t kAddressBook = 3;

inline FakeEntry Named(const std::string& display_name) {
  FakeEntry entry;
  entry.Text(tags::PR_DISPLAY_NAME, display_name);
  return entry;
}

struct WabComponent {
  WabComponent() { component.Advise(events); }

  // A zone with no daylight time, `bias_minutes` = UTC minus local time.
  void SetZone(int32_t bias_minutes) {
    time_zone->zone = {TimeZoneInformation::kUnknown, bias_minutes, 0, 0};
  }

  SharedState& state() { return module.ThreadState(); }

  // Every session closed, every fetched entry freed, the entry list back to its
  // single element, and no call made outside a session.
  ::testing::AssertionResult LibraryReleased() {
    if (book->session_open()) return ::testing::AssertionFailure() << "the library is still open";
    if (book->entries_outstanding) {
      return ::testing::AssertionFailure() << "fetched entries were not freed";
    }
    if (book->calls.outside_session != 0) {
      return ::testing::AssertionFailure()
             << book->calls.outside_session << " calls outside an open session";
    }
    if (state().WabEntries.size() != 1) {
      return ::testing::AssertionFailure()
             << "WabEntries keeps " << state().WabEntries.size() << " elements";
    }
    return ::testing::AssertionSuccess();
  }

  std::string File(const std::u16string& path) const {
    const auto found = fake.disk->files.find(path);
    return found == fake.disk->files.end() ? std::string("(no file)") : found->second;
  }

  FakePlatform fake;
  std::shared_ptr<FakeAddressBook> book = std::make_shared<FakeAddressBook>();
  std::shared_ptr<FixedTimeZone> time_zone = std::make_shared<FixedTimeZone>();
  std::shared_ptr<FakeFileTimes> file_times = std::make_shared<FakeFileTimes>();
  Module module{Services()};
  Orvane2 component{module};
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();

 private:
  PlatformServices Services() {
    fake.address_book = book;
    fake.time_zone = time_zone;
    fake.file_times = file_times;
    fake.disk->AddFolder(u"/out");
    return fake.services();
  }
};

}  // namespace orvane::testing
