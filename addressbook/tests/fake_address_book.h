#pragma once

// FakeAddressBook: an in-memory address-book library that fails on request.
// Entries are ordered (tag, value) lists; texts are code-page bytes, as the library hands
// them out. A getter reads the first property under the tag and fails when that is not a
// value of its kind. kWabGetEntries hands out entry k (from 1) as WabEntry{k}; an entry
// it never filled cannot be read.

#include <algorithm>
#include <cstdint>
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

using FakeList = std::vector<std::string>;

struct FakeEntry {
  using Value = std::variant<std::string, int16_t, FileTime, FakeList>;
  FakeEntry& Text(int32_t tag, std::string bytes) { return Add(tag, std::move(bytes)); }
  FakeEntry& Short(int32_t tag, int16_t value) { return Add(tag, value); }
  FakeEntry& Time(int32_t tag, FileTime value) { return Add(tag, value); }
  FakeEntry& List(int32_t tag, FakeList elements) { return Add(tag, std::move(elements)); }
  FakeEntry& Add(int32_t tag, Value value) {
    properties.emplace_back(tag, std::move(value));
    return *this;
  }
  std::vector<std::pair<int32_t, Value>> properties;
};

class FakeAddressBook final : public AddressBookLibrary {
 public:
  std::vector<FakeEntry> entries;
  bool open_fails = false;                 // kWabOpen returns 0
  std::optional<int32_t> entry_count;      // kWabGetNumEntries says this instead
  std::optional<int32_t> fill_only;        // kWabGetEntries fills at most this many
  std::optional<int32_t> failing_element;  // this element of every list cannot be read
  int32_t throwing_tag = 0;                // reading this tag throws
  int opens = 0, closes = 0;
  std::vector<int32_t> elements_read;  // every list index asked for, in order
  std::vector<int32_t> buffer_sizes;   // of every text buffer handed in, in order
  bool buffers_all_nul = true;         // every byte of each was NUL when handed in
  bool session_open = false;
  bool entries_outstanding = false;  // fetched and not yet freed

  int32_t kWabOpen(WabContext&) override {
    ++opens;
    return session_open = !open_fails;
  }
  int32_t kWabClose(WabContext&) override {
    ++closes;
    session_open = false;
    return 1;
  }
  int32_t kWabGetNumEntries(WabContext&) override {
    return entry_count.value_or(static_cast<int32_t>(entries.size()));
  }
  int32_t kWabGetEntries(WabContext&, WabEntry* first, int32_t count) override {
    const int32_t filled = std::min({count, static_cast<int32_t>(entries.size()),
                                     fill_only.value_or(count)});
    for (int32_t k = 0; k < filled; ++k) first[k].id = static_cast<uint64_t>(k) + 1;
    entries_outstanding = filled > 0;
    return filled;
  }
  int32_t kWabFreeEntries(WabContext&, WabEntry*, int32_t) override {
    entries_outstanding = false;
    return 1;
  }
  int32_t kWabGetNumProps(WabContext&, WabEntry& entry) override {
    return static_cast<int32_t>(entries.at(entry.id - 1).properties.size());
  }
  int32_t kWabGetPropTag(WabContext&, WabEntry& entry, int32_t index, int32_t) override {
    return entries.at(entry.id - 1).properties.at(static_cast<size_t>(index)).first;
  }
  int32_t kWabGetPropType(int32_t tag) override { return tag & 0xFFFF; }

  int16_t kWabGetProp_String(WabContext&, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t size, int32_t* required) override {
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
    elements_read.push_back(index);
    const auto* list = Read<FakeList>(entry, tag, index);
    return list != nullptr && Copy(list->at(static_cast<size_t>(index)), buffer, size, required);
  }

 private:
  // The value under the tag when it is of kind T and its read is not made to fail.
  template <typename T>
  const T* Read(const WabEntry& entry, int32_t tag, int32_t element) {
    if (tag == throwing_tag) throw Error(errors::kInternalError);
    if (element >= 0 && element == failing_element) return nullptr;
    for (const auto& [stored_tag, value] : entries.at(entry.id - 1).properties) {
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
  bool Copy(const std::string& text, char* buffer, int32_t size, int32_t* required) {
    buffer_sizes.push_back(size);
    buffers_all_nul =
        buffers_all_nul && std::all_of(buffer, buffer + size, [](char c) { return c == '\0'; });
    const auto needed = static_cast<int32_t>(text.size()) + 1;
    if (needed <= size) std::copy(text.c_str(), text.c_str() + needed, buffer);
    if (needed > size && required != nullptr) *required = needed;
    return needed <= size;
  }
};

}  // namespace orvane::testing
