#pragma once

// FakeAddressBook: an in-memory address-book library that fails on request.
// Entries are ordered (tag, value) lists; texts are code-page bytes, as the library hands
// them out. A getter reads the first property under the tag and fails when that is not a
// value of its kind. Times are handed out as stored. kWabGetEntries hands out entry k
// (from 1) as WabEntry{k}; an all-zero entry has no properties.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/address_book_library.h"
#include "platform/automation_date.h"
#include "platform/error.h"

namespace orvane::testing {

inline FileTime FileTimeOf(const DateTimeParts& parts, int milliseconds = 0) {
  const auto seconds = static_cast<uint64_t>(SecondsFromParts(parts) + 11644473600);
  return FileTime::FromTicks(seconds * 10'000'000u + static_cast<uint64_t>(milliseconds) * 10'000u);
}

struct Unreadable {};
using FakeList = std::vector<std::string>;
using FakeValue = std::variant<std::string, int16_t, FileTime, FakeList, Unreadable>;

class FakeEntry {
 public:
  FakeEntry& Text(int32_t tag, std::string bytes) { return Add(tag, std::move(bytes)); }
  FakeEntry& Short(int32_t tag, int16_t value) { return Add(tag, value); }
  FakeEntry& Time(int32_t tag, FileTime value) { return Add(tag, value); }
  FakeEntry& List(int32_t tag, FakeList elements) { return Add(tag, std::move(elements)); }
  FakeEntry& Unreadable(int32_t tag) { return Add(tag, testing::Unreadable{}); }

  std::vector<std::pair<int32_t, FakeValue>> properties;

 private:
  FakeEntry& Add(int32_t tag, FakeValue value) {
    properties.emplace_back(tag, std::move(value));
    return *this;
  }
};

struct FakeFailures {
  bool open = false;                    // kWabOpen returns 0
  std::optional<int32_t> entry_count;   // kWabGetNumEntries says this instead
  std::optional<int32_t> fill_only;     // kWabGetEntries fills at most this many
  int read_number = 0;                  // the value read with this running number (from 1)
  std::optional<int32_t> list_element;  // this element of every list
  bool throw_on_failed_read = false;    // the read above throws instead of returning 0
  // When set, every text read fails and asks for the size this gives for the one offered.
  std::function<int32_t(int32_t offered)> text_never_fits;
};

class FakeAddressBook final : public AddressBookLibrary {
 public:
  std::vector<FakeEntry> entries;
  FakeFailures failures;
  struct {
    int open = 0, close = 0, reads = 0;
  } calls;
  bool session_open = false;
  bool entries_outstanding = false;  // fetched and not yet freed

  int32_t kWabOpen(WabContext&) override {
    ++calls.open;
    return session_open = !failures.open;
  }
  int32_t kWabClose(WabContext&) override {
    ++calls.close;
    session_open = false;
    return 1;
  }
  int32_t kWabGetNumEntries(WabContext&) override {
    return failures.entry_count.value_or(static_cast<int32_t>(entries.size()));
  }
  int32_t kWabGetEntries(WabContext&, WabEntry* first, int32_t count) override {
    const int32_t filled = std::min({count, static_cast<int32_t>(entries.size()),
                                     failures.fill_only.value_or(count)});
    for (int32_t k = 0; k < filled; ++k) first[k].id = static_cast<uint64_t>(k) + 1;
    entries_outstanding = entries_outstanding || filled > 0;
    return std::max(filled, 0);
  }
  int32_t kWabFreeEntries(WabContext&, WabEntry*, int32_t) override {
    entries_outstanding = false;
    return 1;
  }
  int32_t kWabGetNumProps(WabContext&, WabEntry& entry) override {
    return Find(entry) ? static_cast<int32_t>(Find(entry)->properties.size()) : 0;
  }
  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index, int32_t) override {
    if (index < 0 || index >= kWabGetNumProps(context, entry)) return 0;
    return Find(entry)->properties[static_cast<size_t>(index)].first;
  }
  int32_t kWabGetPropType(int32_t tag) override { return tag & 0xFFFF; }

  int16_t kWabGetProp_String(WabContext&, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t size, int32_t* required) override {
    if (failures.text_never_fits) {
      ++calls.reads;
      *required = failures.text_never_fits(size);
      return 0;
    }
    const auto* text = Read<std::string>(entry, tag, -1);
    return text != nullptr && Copy(*text, buffer, size, required);
  }
  int16_t kWabGetProp_Short(WabContext&, WabEntry& entry, int32_t tag, int16_t& value) override {
    return Take(Read<int16_t>(entry, tag, -1), value);
  }
  int16_t kWabGetProp_SysTime(WabContext&, WabEntry& entry, int32_t tag, FileTime& value) override {
    return Take(Read<FileTime>(entry, tag, -1), value);
  }
  int16_t kWabGetProp_MV_String_Count(WabContext&, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    const auto* list = Read<FakeList>(entry, tag, -1);
    if (list != nullptr) count = static_cast<int32_t>(list->size());
    return list != nullptr;
  }
  int16_t kWabGetProp_MV_String_Data(WabContext&, WabEntry& entry, int32_t tag, char* buffer,
                                     int32_t size, int32_t* required, int32_t index) override {
    const auto* list = Read<FakeList>(entry, tag, index);
    return list != nullptr && index >= 0 && static_cast<size_t>(index) < list->size() &&
           Copy((*list)[static_cast<size_t>(index)], buffer, size, required);
  }

 private:
  const FakeEntry* Find(const WabEntry& entry) const {
    return entry.id == 0 || entry.id > entries.size() ? nullptr : &entries[entry.id - 1];
  }

  // The value under the tag when it is of kind T and this read is not made to fail.
  template <typename T>
  const T* Read(const WabEntry& entry, int32_t tag, int32_t element) {
    if (++calls.reads == failures.read_number && failures.throw_on_failed_read) {
      throw Error(errors::kInternalError);
    }
    if (calls.reads == failures.read_number || (element >= 0 && element == failures.list_element) ||
        Find(entry) == nullptr) {
      return nullptr;
    }
    for (const auto& [stored_tag, value] : Find(entry)->properties) {
      if (stored_tag == tag) return std::get_if<T>(&value);
    }
    return nullptr;
  }

  template <typename T>
  static bool Take(const T* stored, T& out) {
    if (stored != nullptr) out = *stored;
    return stored != nullptr;
  }

  // A text that does not fit with its NUL reports the size it needs.
  static bool Copy(const std::string& text, char* buffer, int32_t size, int32_t* required) {
    const auto needed = static_cast<int32_t>(text.size()) + 1;
    if (needed <= size) std::copy(text.c_str(), text.c_str() + needed, buffer);
    if (needed > size && required != nullptr) *required = needed;
    return needed <= size;
  }
};

}  // namespace orvane::testing
