#include "platform/posix/address_book/json_address_book.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <stdexcept>

#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/posix/address_book/property_reading.h"
#include "platform/posix/address_book/property_tags.h"
#include "platform/posix/address_book/session_table.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

// The value a getter found, with the document that holds it kept alive.
struct FoundValue {
  SharedDocument document;
  const PropertyValue* value = nullptr;

  template <typename T>
  const T* As() const {
    return value == nullptr ? nullptr : std::get_if<T>(value);
  }
};

int32_t ClampedCount(size_t count) {
  return static_cast<int32_t>(
      std::min(count, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

// The entry points answer in result codes; nothing may escape them.
template <typename Result, typename Action>
Result Guarded(Action action) {
  try {
    return action();
  } catch (...) {
    return 0;
  }
}

// The entries a context's session can see are numbered from 1 in file order;
// the all-zero entry is one the library never filled.
class JsonAddressBookLibrary final : public AddressBookLibrary {
 public:
  explicit JsonAddressBookLibrary(JsonAddressBookSettings settings)
      : settings_(std::move(settings)) {}

  int32_t kWabOpen(WabContext& context) override {
    return Guarded<int32_t>([&] { return Open(context); });
  }

  int32_t kWabClose(WabContext& context) override {
    if (!sessions_.Close(context.handle)) return 0;  // not ours: leave it alone
    context.handle = 0;
    return 1;
  }

  int32_t kWabGetNumEntries(WabContext& context) override {
    const SharedDocument document = sessions_.Find(context.handle);
    return document ? ClampedCount(document->entries.size()) : 0;
  }

  int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) override {
    const SharedDocument document = sessions_.Find(context.handle);
    if (!document || first == nullptr || count <= 0) return 0;
    const int32_t filled = std::min(count, ClampedCount(document->entries.size()));
    for (int32_t i = 0; i < filled; ++i) first[i].id = static_cast<uint64_t>(i) + 1;
    return filled;
  }

  int32_t kWabFreeEntries(WabContext& context, WabEntry* first, int32_t count) override {
    if (!sessions_.Find(context.handle) || first == nullptr || count <= 0) return 0;
    std::fill(first, first + count, WabEntry{});
    return count;
  }

  int32_t kWabGetNumProps(WabContext& context, WabEntry& entry) override {
    const SharedDocument document = sessions_.Find(context.handle);
    const AddressBookEntry* found = EntryOf(document, entry);
    return found ? ClampedCount(found->properties.size()) : 0;
  }

  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index, int32_t) override {
    const SharedDocument document = sessions_.Find(context.handle);
    const AddressBookEntry* found = EntryOf(document, entry);
    if (found == nullptr || index < 0 || static_cast<size_t>(index) >= found->properties.size()) {
      return 0;
    }
    return found->properties[static_cast<size_t>(index)].tag;
  }

  int32_t kWabGetPropType(int32_t tag) override { return PropertyTypeOf(tag); }

  int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t buffer_size, int32_t* required) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const auto* text = FindValue(context, entry, tag, PT_STRING8).As<std::u16string>();
      if (text == nullptr) return 0;
      return CopyTextOut(settings_.code_page->FromUtf16(*text), buffer, buffer_size, required);
    });
  }

  int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                            int16_t& value) override {
    const FoundValue found = FindValue(context, entry, tag, PT_I2);
    const auto* number = found.As<int16_t>();
    if (number == nullptr) return 0;
    value = *number;
    return 1;
  }

  int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                              FileTime& value) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const FoundValue found = FindValue(context, entry, tag, PT_SYSTIME);
      const auto* time = found.As<StoredTime>();
      if (time == nullptr) return 0;
      const auto local = LocalFileTimeOf(*time, settings_.time_zone->GetTimeZoneInformation());
      if (!local) return 0;
      value = *local;
      return 1;
    });
  }

  int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    const FoundValue found = FindValue(context, entry, tag, PT_MV_STRING8);
    const auto* list = found.As<TextList>();
    if (list == nullptr) return 0;
    count = ClampedCount(list->size());
    return 1;
  }

  int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required,
                                     int32_t index) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const FoundValue found = FindValue(context, entry, tag, PT_MV_STRING8);
      const auto* list = found.As<TextList>();
      if (list == nullptr || index < 0 || static_cast<size_t>(index) >= list->size()) return 0;
      const std::u16string& element = (*list)[static_cast<size_t>(index)];
      return CopyTextOut(settings_.code_page->FromUtf16(element), buffer, buffer_size, required);
    });
  }

  std::u16string OpenFailureReason() override {
    const std::lock_guard lock(failure_mutex_);
    return DecodeUtf8(failure_);
  }

 private:
  int32_t Open(WabContext& context) {
    // A context opened again gives up the session it held, which would leak otherwise.
    if (context.handle != 0) sessions_.Close(context.handle);
    context.handle = 0;
    std::string path;
    try {
      path = AddressBookPath();
      if (path.empty()) {
        return Refuse("no address book file: neither ORVANE_ADDRESS_BOOK nor HOME is set");
      }
      const LoadedDocument loaded = settings_.cache->Load(path);
      if (!loaded.document) return Refuse(loaded.failure);
      context.handle = sessions_.Open(loaded.document);
      RememberFailure({});
      return 1;
    } catch (const std::exception& failure) {
      return Refuse(path + ": " + failure.what());
    }
  }

  static const AddressBookEntry* EntryOf(const SharedDocument& document, const WabEntry& entry) {
    if (!document || entry.id == 0 || entry.id > document->entries.size()) return nullptr;
    return &document->entries[entry.id - 1];
  }

  // The last value of `tag` in the entry, when the tag is of the getter's type.
  FoundValue FindValue(const WabContext& context, const WabEntry& entry, int32_t tag,
                       int32_t type) const {
    FoundValue found{sessions_.Find(context.handle), nullptr};
    const AddressBookEntry* in_entry = EntryOf(found.document, entry);
    if (in_entry != nullptr && PropertyTypeOf(tag) == type) found.value = LastValueOf(*in_entry, tag);
    return found;
  }

  std::string AddressBookPath() const {
    return settings_.file.empty() ? DefaultAddressBookFile(settings_.environment) : settings_.file;
  }

  int32_t Refuse(std::string reason) {
    RememberFailure(std::move(reason));
    return 0;
  }

  void RememberFailure(std::string reason) {
    const std::lock_guard lock(failure_mutex_);
    failure_ = std::move(reason);
  }

  const JsonAddressBookSettings settings_;
  SessionTable sessions_;
  std::mutex failure_mutex_;
  std::string failure_;
};

}  // namespace

std::shared_ptr<AddressBookLibrary> MakeJsonAddressBookLibrary(JsonAddressBookSettings settings) {
  if (!settings.code_page || !settings.time_zone || !settings.cache || !settings.environment) {
    throw std::invalid_argument("the address-book library needs all its services");
  }
  return std::make_shared<JsonAddressBookLibrary>(std::move(settings));
}

}  // namespace orvane::posix
