#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/posix/address_book/tests/test_support.h"

namespace orvane::posix::testing {

inline EnvironmentReader EmptyEnvironment() {
  return [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
}

// A library on a file of the test's own, with a cache, code page and time zone
// that belong to the test alone.
class LibraryTest : public ::testing::Test {
 protected:
  std::shared_ptr<AddressBookLibrary> MakeLibrary(const std::string& file,
                                                  EnvironmentReader environment = EmptyEnvironment()) {
    return MakeJsonAddressBookLibrary(
        JsonAddressBookSettings{code_page_, time_zone_, file, cache_, std::move(environment)});
  }

  // Writes `json` as the address book, opens it and fetches every entry.
  void OpenBook(const std::string& json) {
    path_ = folder_.Write("book.json", json);
    library_ = MakeLibrary(path_);
    ASSERT_NE(library_->kWabOpen(context_), 0) << ReasonText();
    const int32_t count = library_->kWabGetNumEntries(context_);
    entries_.assign(static_cast<size_t>(count), WabEntry{});
    if (count > 0) {
      ASSERT_EQ(library_->kWabGetEntries(context_, entries_.data(), count), count);
    }
  }

  void OpenOneEntry(const std::string& properties) { OpenBook(OneEntryDocument(properties)); }

  // The text of a string property through a buffer as large as the component's.
  std::string StringOf(WabEntry entry, int32_t tag) {
    char buffer[128] = {};
    if (library_->kWabGetProp_String(context_, entry, tag, buffer, sizeof buffer, nullptr) == 0) {
      return "<none>";
    }
    return buffer;
  }

  std::string ReasonText() {
    const std::u16string reason = library_ ? library_->OpenFailureReason() : u"";
    return std::string(reason.begin(), reason.end());
  }

  TemporaryFolder folder_;
  std::string path_;
  std::shared_ptr<Latin1CodePage> code_page_ = std::make_shared<Latin1CodePage>();
  std::shared_ptr<FakeTimeZone> time_zone_ = std::make_shared<FakeTimeZone>();
  std::shared_ptr<DocumentCache> cache_ = std::make_shared<DocumentCache>(MakePosixFileReader());
  std::shared_ptr<AddressBookLibrary> library_;
  WabContext context_;
  std::vector<WabEntry> entries_;
};

}  // namespace orvane::posix::testing
