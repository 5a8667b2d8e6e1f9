// kwab.dll over the Windows Address Book: each open context holds a session
// of its own (WabSession); entries are numbered from 1 in the book's order.

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>

#include "platform/windows/kwab/kwab_library.h"
#include "platform/windows/kwab/wab/wab_session.h"

namespace orvane::windows::kwab {
namespace {

int32_t ClampedCount(size_t count) {
  return static_cast<int32_t>(
      std::min(count, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

// Hands out the text and its NUL, or nothing when they do not fit; `required`
// learns their size either way.
int16_t CopyText(const std::string& text, char* buffer, int32_t buffer_size, int32_t* required) {
  if (text.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  const auto needed = static_cast<int32_t>(text.size() + 1);
  if (required != nullptr) *required = needed;
  if (buffer == nullptr || buffer_size < needed) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 1;
}

// Holds a slim lock for one scope (MinGW's Win32 thread model has no std::mutex).
class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

class WabAddressBookLibrary final : public AddressBookLibrary {
 public:
  int32_t kWabOpen(WabContext& context) override {
    Close(context);  // a context opened again gives up the session it held
    std::shared_ptr<WabSession> session = WabSession::Open();
    if (!session) return 0;
    const Locked locked(lock_);
    context.handle = ++last_handle_;
    sessions_.emplace(context.handle, std::move(session));
    return 1;
  }

  int32_t kWabClose(WabContext& context) override { return Close(context) ? 1 : 0; }

  int32_t kWabGetNumEntries(WabContext& context) override {
    const auto session = Find(context);
    return session ? ClampedCount(session->PersonCount()) : 0;
  }

  int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) override {
    const auto session = Find(context);
    if (!session || first == nullptr || count <= 0) return 0;
    const int32_t filled = std::min(count, ClampedCount(session->PersonCount()));
    for (int32_t i = 0; i < filled; ++i) first[i].id = static_cast<uint64_t>(i) + 1;
    return filled;
  }

  int32_t kWabFreeEntries(WabContext& context, WabEntry* first, int32_t count) override {
    const auto session = Find(context);
    if (!session || first == nullptr || count <= 0) return 0;
    for (int32_t i = 0; i < count; ++i) {
      if (first[i].id != 0) session->Forget(first[i].id - 1);
      first[i] = WabEntry{};
    }
    return count;
  }

  int32_t kWabGetNumProps(WabContext& context, WabEntry& entry) override {
    const auto session = Find(context);
    return IsEntryOf(session, entry) ? ClampedCount(session->PropertiesOf(entry.id - 1).size()) : 0;
  }

  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index, int32_t) override {
    const auto session = Find(context);
    if (!IsEntryOf(session, entry) || index < 0) return 0;
    const auto& properties = session->PropertiesOf(entry.id - 1);
    if (static_cast<size_t>(index) >= properties.size()) return 0;
    return static_cast<int32_t>(properties[static_cast<size_t>(index)].tag);
  }

  int32_t kWabGetPropType(int32_t tag) override { return tag & 0xFFFF; }

  int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t buffer_size, int32_t* required) override {
    const auto* text = Value<std::string>(context, entry, tag);
    return text == nullptr ? 0 : CopyText(*text, buffer, buffer_size, required);
  }

  int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                            int16_t& value) override {
    const auto* number = Value<int16_t>(context, entry, tag);
    if (number == nullptr) return 0;
    value = *number;
    return 1;
  }

  // The book keeps times in UTC; they are handed out in local time.
  int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                              FileTime& value) override {
    const auto* time = Value<FILETIME>(context, entry, tag);
    FILETIME local{};
    if (time == nullptr || !FileTimeToLocalFileTime(time, &local)) return 0;
    value = FileTime{local.dwLowDateTime, local.dwHighDateTime};
    return 1;
  }

  int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    const auto* texts = Value<std::vector<std::string>>(context, entry, tag);
    if (texts == nullptr) return 0;
    count = ClampedCount(texts->size());
    return 1;
  }

  int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required,
                                     int32_t index) override {
    const auto* texts = Value<std::vector<std::string>>(context, entry, tag);
    if (texts == nullptr || index < 0 || static_cast<size_t>(index) >= texts->size()) return 0;
    return CopyText((*texts)[static_cast<size_t>(index)], buffer, buffer_size, required);
  }

 private:
  std::shared_ptr<WabSession> Find(const WabContext& context) const {
    const Locked locked(lock_);
    const auto found = sessions_.find(context.handle);
    return found == sessions_.end() ? nullptr : found->second;
  }

  bool Close(WabContext& context) {
    std::shared_ptr<WabSession> closed;  // released after the lock
    const Locked locked(lock_);
    const auto found = sessions_.find(context.handle);
    if (found == sessions_.end()) return false;  // not ours: leave it alone
    closed = std::move(found->second);
    sessions_.erase(found);
    context.handle = 0;
    return true;
  }

  static bool IsEntryOf(const std::shared_ptr<WabSession>& session, const WabEntry& entry) {
    return session && entry.id != 0 && entry.id <= session->PersonCount();
  }

  // The value of `tag` in the entry, when it holds one of the type T.
  template <typename T>
  const T* Value(const WabContext& context, const WabEntry& entry, int32_t tag) {
    const auto session = Find(context);
    if (!IsEntryOf(session, entry)) return nullptr;
    for (const WabProperty& property : session->PropertiesOf(entry.id - 1)) {
      if (property.tag == static_cast<uint32_t>(tag)) return std::get_if<T>(&property.value);
    }
    return nullptr;
  }

  mutable SRWLOCK lock_ = SRWLOCK_INIT;
  uint64_t last_handle_ = 0;
  std::map<uint64_t, std::shared_ptr<WabSession>> sessions_;
};

}  // namespace

std::shared_ptr<AddressBookLibrary> MakeKwabLibrary() {
  return std::make_shared<WabAddressBookLibrary>();
}

}  // namespace orvane::windows::kwab
