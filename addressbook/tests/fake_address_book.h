#pragma once

// FakeAddressBook: an in-memory address-book library for tests.
//
//   auto book = std::make_shared<FakeAddressBook>();
//   book->AddEntry(FakeEntry()
//                      .Text(tags::PR_DISPLAY_NAME, "Ann Lee")
//                      .Time(tags::PR_LAST_MODIFICATION_TIME, FileTimeOf({2005, 3, 1, 12, 0, 0}))
//                      .List(tags::PR_CONTACT_EMAIL_ADDRESSES, {"ann@example.org", "al@example.org"}));
//   book->failures.open = true;                      // kWabOpen returns 0
//   book->failures.fill_only = 2;                    // kWabGetEntries fills 2 of n
//   book->failures.entry_count = 40000;              // kWabGetNumEntries says so
//   book->failures.read = FailNthRead(3);            // the third value read returns 0
//   book->failures.read = FailListElement(tag, 1);   // element 1 of that list is unreadable
//   book->failures.throw_on_failed_read = true;      // ...and throws instead of returning 0
//   book->calls.get_string                           // every function counts its calls
//   book->reads                                      // every value read, in order
//
// Entries are ordered lists of (tag, value); a tag may repeat. Texts are stored
// as code-page bytes, exactly as the library hands them out. The type of a tag is
// its low 16 bits, as MAPI defines it; each getter reads whatever is stored under
// the tag and returns 0 when that is not a value of its kind (FakeEntry::Unreadable
// stores a property that no getter can read). When a tag repeats, a getter reads
// the occurrence that kWabGetPropTag handed out last (the first before that), so a
// reader that walks the properties in order meets each value in turn.
//
// kWabGetEntries hands out entry k (1-based) as WabEntry{k}; an all-zero entry has
// no properties. Times are stored as instants (UTC) and handed out as local time
// shifted by `local_bias_minutes` (UTC = local + bias), as the library does.
// The text getters follow the growing-buffer contract of AddressBookLibrary.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/address_book_library.h"
#include "platform/automation_date.h"
#include "platform/error.h"

namespace orvane::testing {

// A FileTime of the wall-clock time the parts name (no zone), plus milliseconds.
inline FileTime FileTimeOf(const DateTimeParts& parts, int milliseconds = 0) {
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  const int64_t seconds = SecondsFromParts(parts) + kSecondsFrom1601To1970;
  return FileTime::FromTicks(static_cast<uint64_t>(seconds) * 10'000'000u +
                             static_cast<uint64_t>(milliseconds) * 10'000u);
}

struct Unreadable {
  friend bool operator==(const Unreadable&, const Unreadable&) = default;
};

using FakeText = std::string;
using FakeList = std::vector<std::string>;
using FakeValue = std::variant<FakeText, int16_t, FileTime, FakeList, Unreadable>;

struct FakeProperty {
  int32_t tag = 0;
  FakeValue value;
};

class FakeEntry {
 public:
  FakeEntry() = default;
  explicit FakeEntry(std::vector<FakeProperty> list) : properties(std::move(list)) {}

  FakeEntry& Text(int32_t tag, std::string bytes) { return Add(tag, std::move(bytes)); }
  FakeEntry& Short(int32_t tag, int16_t value) { return Add(tag, value); }
  FakeEntry& Time(int32_t tag, FileTime value) { return Add(tag, value); }
  FakeEntry& List(int32_t tag, FakeList elements) { return Add(tag, std::move(elements)); }
  FakeEntry& Unreadable(int32_t tag) { return Add(tag, testing::Unreadable{}); }

  std::vector<FakeProperty> properties;

 private:
  FakeEntry& Add(int32_t tag, FakeValue value) {
    properties.push_back({tag, std::move(value)});
    return *this;
  }
};

// One value read: which getter, the tag, the list index (-1 for the others), the
// buffer size offered (0 for getters without buffer) and its running number from 1.
enum class ReadKind { kString, kShort, kSysTime, kListCount, kListElement };
struct FakeRead {
  ReadKind kind;
  int32_t tag;
  int32_t index;
  int32_t buffer_size;
  int number;
};

// Decides whether a read fails.
using ReadFailure = std::function<bool(const FakeRead&)>;

inline ReadFailure FailNthRead(int number) {
  return [number](const FakeRead& read) { return read.number == number; };
}
inline ReadFailure FailListElement(int32_t tag, int32_t index) {
  return [tag, index](const FakeRead& read) {
    return read.kind == ReadKind::kListElement && read.tag == tag && read.index == index;
  };
}

struct FakeCalls {
  int open = 0;
  int close = 0;
  int get_num_entries = 0;
  int get_entries = 0;
  int free_entries = 0;
  int get_num_props = 0;
  int get_prop_tag = 0;
  int get_prop_type = 0;
  int get_string = 0;
  int get_short = 0;
  int get_systime = 0;
  int get_list_count = 0;
  int get_list_element = 0;
  // Calls (other than kWabOpen and kWabGetPropType) made while no session was open.
  int outside_session = 0;
};

struct FakeFailures {
  bool open = false;                   // kWabOpen returns 0
  std::u16string open_reason;          // what OpenFailureReason says then
  std::optional<int32_t> entry_count;  // kWabGetNumEntries returns this instead
  std::optional<int32_t> fill_only;    // kWabGetEntries fills at most this many
  ReadFailure read;                    // reads for which this is true fail
  bool throw_on_failed_read = false;   // a failing read throws orvane::Error(51)
};

class FakeAddressBook final : public AddressBookLibrary {
 public:
  FakeAddressBook() = default;
  explicit FakeAddressBook(std::vector<FakeEntry> list) : entries(std::move(list)) {}

  FakeAddressBook& AddEntry(FakeEntry entry) {
    entries.push_back(std::move(entry));
    return *this;
  }

  std::vector<FakeEntry> entries;
  int32_t local_bias_minutes = 0;
  FakeFailures failures;
  FakeCalls calls;
  std::vector<FakeRead> reads;
  // The count passed to the last kWabFreeEntries; entries fetched and not yet freed.
  int32_t last_free_count = 0;
  bool entries_outstanding = false;

  bool session_open() const { return session_open_; }

  int32_t kWabOpen(WabContext& context) override {
    ++calls.open;
    if (failures.open) return 0;
    session_open_ = true;
    context.handle = kSessionHandle;
    return 1;
  }
  int32_t kWabClose(WabContext& context) override {
    ++calls.close;
    CheckSession(context);
    session_open_ = false;
    context.handle = 0;
    return 1;
  }
  int32_t kWabGetNumEntries(WabContext& context) override {
    ++calls.get_num_entries;
    CheckSession(context);
    return failures.entry_count.value_or(static_cast<int32_t>(entries.size()));
  }
  int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) override {
    ++calls.get_entries;
    CheckSession(context);
    int32_t filled = std::min(count, static_cast<int32_t>(entries.size()));
    if (failures.fill_only) filled = std::min(filled, *failures.fill_only);
    for (int32_t k = 0; k < filled; ++k) first[k].id = static_cast<uint64_t>(k) + 1;
    entries_outstanding = entries_outstanding || filled > 0;
    return std::max(filled, 0);
  }
  int32_t kWabFreeEntries(WabContext& context, WabEntry*, int32_t count) override {
    ++calls.free_entries;
    CheckSession(context);
    last_free_count = count;
    entries_outstanding = false;
    return 1;
  }
  int32_t kWabGetNumProps(WabContext& context, WabEntry& entry) override {
    ++calls.get_num_props;
    CheckSession(context);
    const FakeEntry* found = Find(entry);
    return found == nullptr ? 0 : static_cast<int32_t>(found->properties.size());
  }
  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index, int32_t) override {
    ++calls.get_prop_tag;
    CheckSession(context);
    const FakeProperty* property = PropertyAt(entry, index);
    if (property == nullptr) return 0;
    visited_[{entry.id, property->tag}] = index;
    return property->tag;
  }
  int32_t kWabGetPropType(int32_t tag) override {
    ++calls.get_prop_type;
    return tag & 0xFFFF;
  }

  int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t buffer_size, int32_t* required) override {
    ++calls.get_string;
    if (!BeginRead(context, ReadKind::kString, tag, -1, buffer_size)) return 0;
    const auto* text = Value<FakeText>(entry, tag);
    return text == nullptr ? 0 : CopyText(*text, buffer, buffer_size, required);
  }
  int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                            int16_t& value) override {
    ++calls.get_short;
    if (!BeginRead(context, ReadKind::kShort, tag, -1, 0)) return 0;
    const auto* stored = Value<int16_t>(entry, tag);
    if (stored == nullptr) return 0;
    value = *stored;
    return 1;
  }
  int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                              FileTime& value) override {
    ++calls.get_systime;
    if (!BeginRead(context, ReadKind::kSysTime, tag, -1, 0)) return 0;
    const auto* stored = Value<FileTime>(entry, tag);
    if (stored == nullptr) return 0;
    const int64_t shift = int64_t{local_bias_minutes} * 60 * 10'000'000;
    value = FileTime::FromTicks(stored->ticks() - static_cast<uint64_t>(shift));
    return 1;
  }
  int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    ++calls.get_list_count;
    if (!BeginRead(context, ReadKind::kListCount, tag, -1, 0)) return 0;
    const auto* list = Value<FakeList>(entry, tag);
    if (list == nullptr) return 0;
    count = static_cast<int32_t>(list->size());
    return 1;
  }
  int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required,
                                     int32_t index) override {
    ++calls.get_list_element;
    if (!BeginRead(context, ReadKind::kListElement, tag, index, buffer_size)) return 0;
    const auto* list = Value<FakeList>(entry, tag);
    if (list == nullptr || index < 0 || static_cast<size_t>(index) >= list->size()) return 0;
    return CopyText((*list)[static_cast<size_t>(index)], buffer, buffer_size, required);
  }

  std::u16string OpenFailureReason() override {
    return failures.open ? failures.open_reason : std::u16string();
  }

 private:
  static constexpr uint64_t kSessionHandle = 0x5E55;

  void CheckSession(const WabContext& context) {
    if (!session_open_ || context.handle != kSessionHandle) ++calls.outside_session;
  }

  // Records the read; false when it is to fail (or throws, when asked to).
  bool BeginRead(const WabContext& context, ReadKind kind, int32_t tag, int32_t index,
                 int32_t buffer_size) {
    CheckSession(context);
    reads.push_back({kind, tag, index, buffer_size, static_cast<int>(reads.size()) + 1});
    if (!failures.read || !failures.read(reads.back())) return true;
    if (failures.throw_on_failed_read) throw Error(errors::kInternalError);
    return false;
  }

  const FakeEntry* Find(const WabEntry& entry) const {
    if (entry.id == 0 || entry.id > entries.size()) return nullptr;
    return &entries[entry.id - 1];
  }

  const FakeProperty* PropertyAt(const WabEntry& entry, int32_t index) const {
    const FakeEntry* found = Find(entry);
    if (found == nullptr || index < 0 || static_cast<size_t>(index) >= found->properties.size()) {
      return nullptr;
    }
    return &found->properties[static_cast<size_t>(index)];
  }

  // The value stored under the tag (the occurrence last visited), when it is of kind T.
  template <typename T>
  const T* Value(const WabEntry& entry, int32_t tag) const {
    const FakeEntry* found = Find(entry);
    if (found == nullptr) return nullptr;
    const auto visited = visited_.find({entry.id, tag});
    if (visited != visited_.end() &&
        static_cast<size_t>(visited->second) < found->properties.size()) {
      return std::get_if<T>(&found->properties[static_cast<size_t>(visited->second)].value);
    }
    for (const FakeProperty& property : found->properties) {
      if (property.tag == tag) return std::get_if<T>(&property.value);
    }
    return nullptr;
  }

  static int16_t CopyText(const std::string& text, char* buffer, int32_t buffer_size,
                          int32_t* required) {
    const auto needed = static_cast<int32_t>(text.size()) + 1;
    if (needed > buffer_size) {
      if (required != nullptr) *required = needed;
      return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
    return 1;
  }

  bool session_open_ = false;
  // (entry id, tag) -> index of the occurrence kWabGetPropTag handed out last.
  std::map<std::pair<uint64_t, int32_t>, int32_t> visited_;
};

}  // namespace orvane::testing
