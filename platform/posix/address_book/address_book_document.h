#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace orvane::posix {

// A time as the address book stores it, in 100-ns ticks since 1601-01-01.
struct StoredTime {
  uint64_t ticks = 0;
  // True: an instant in UTC, shown in the reader's local time. False: a local
  // time as written (a birthday), shown unchanged in every zone.
  bool universal = false;

  friend bool operator==(const StoredTime&, const StoredTime&) = default;
};

using TextList = std::vector<std::u16string>;

// The value of one property, by the type its tag names. Types that no getter
// hands out keep no value (std::monostate).
using PropertyValue = std::variant<std::monostate, std::u16string, int16_t, StoredTime, TextList>;

struct Property {
  int32_t tag = 0;
  PropertyValue value;
};

struct AddressBookEntry {
  std::vector<Property> properties;  // in file order, repetitions kept
};

// An address book as read from its file; never changed once read, so open
// sessions on any thread can share it.
struct AddressBookDocument {
  std::vector<AddressBookEntry> entries;  // in file order
};

using SharedDocument = std::shared_ptr<const AddressBookDocument>;

}  // namespace orvane::posix
