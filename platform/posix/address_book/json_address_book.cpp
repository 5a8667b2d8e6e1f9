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

// The property a getter found, in the document of the getter's session.
struct FoundValue {
  const AddressBookDocument* document = nullptr;
  const Property* property = nullptr;

  std::optional<TextSpan> Text() const { return property ? property->Text() : std::nullopt; }
  std::optional<ListSpan> TextList() const {
    return property ? property->TextList() : std::nullopt;
  }
};

int32_t ClampedCount(size_t count) {
  return static_cast<int32_t>(
      std::min(count, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

// The property whose tag this thread read last: the value asked for next is
// most likely its own.
struct TagRead {
  const AddressBookEntry* entry = nullptr;
  size_t index = 0;
};
thread_local TagRead last_tag_read;

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
      : settings_(std::move(settings)), keeps_ascii_(settings_.code_page->KeepsAscii()) {}

  int32_t kWabOpen(WabContext& context) override {
    return Guarded<int32_t>([&] { return Open(context); });
  }

  int32_t kWabClose(WabContext& context) override {
    if (!sessions_.Close(context.handle)) return 0;  // not ours: leave it alone
    context.handle = 0;
    return 1;
  }

  int32_t kWabGetNumEntries(WabContext& context) override {
    const AddressBookDocument* document = sessions_.Find(context.handle);
    return document ? ClampedCount(document->entries.size()) : 0;
  }

  int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) override {
    const AddressBookDocument* document = sessions_.Find(context.handle);
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
    const AddressBookEntry* found = EntryOf(sessions_.Find(context.handle), entry);
    return found ? ClampedCount(found->properties.size()) : 0;
  }

  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index, int32_t) override {
    const AddressBookEntry* found = EntryOf(sessions_.Find(context.handle), entry);
    if (found == nullptr || index < 0 || static_cast<size_t>(index) >= found->properties.size()) {
      return 0;
    }
    last_tag_read = {found, static_cast<size_t>(index)};
    return found->properties[static_cast<size_t>(index)].tag();
  }

  int32_t kWabGetPropType(int32_t tag) override { return PropertyTypeOf(tag); }

  int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t buffer_size, int32_t* required) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const FoundValue found = FindValue(context, entry, tag, PT_STRING8);
      const std::optional<TextSpan> text = found.Text();
      if (!text) return 0;
      return CopyOutInCodePage(found.document->TextOf(*text), found.property->IsAsciiText(),
                               buffer, buffer_size, required);
    });
  }

  int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                            int16_t& value) override {
    const FoundValue found = FindValue(context, entry, tag, PT_I2);
    const std::optional<int16_t> number = found.property ? found.property->Short() : std::nullopt;
    if (!number) return 0;
    value = *number;
    return 1;
  }

  int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                              FileTime& value) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const FoundValue found = FindValue(context, entry, tag, PT_SYSTIME);
      const std::optional<StoredTime> time = found.property ? found.property->Time() : std::nullopt;
      if (!time) return 0;
      const auto local = LocalFileTimeOf(*time, *settings_.time_zone);
      if (!local) return 0;
      value = *local;
      return 1;
    });
  }

  int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    const std::optional<ListSpan> list = FindValue(context, entry, tag, PT_MV_STRING8).TextList();
    if (!list) return 0;
    count = ClampedCount(list->count);
    return 1;
  }

  int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required,
                                     int32_t index) override {
    return Guarded<int16_t>([&]() -> int16_t {
      const FoundValue found = FindValue(context, entry, tag, PT_MV_STRING8);
      const std::optional<ListSpan> list = found.TextList();
      if (!list || index < 0 || static_cast<uint32_t>(index) >= list->count) return 0;
      const TextSpan element = found.document->ElementsOf(*list)[static_cast<size_t>(index)];
      const std::string_view text = found.document->TextOf(element);
      return CopyOutInCodePage(text, IsAscii(text), buffer, buffer_size, required);
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

  static const AddressBookEntry* EntryOf(const AddressBookDocument* document,
                                         const WabEntry& entry) {
    if (document == nullptr || entry.id == 0 || entry.id > document->entries.size()) return nullptr;
    return &document->entries[entry.id - 1];
  }

  // The last occurrence of `tag` in the entry, when the tag is of the getter's type.
  FoundValue FindValue(const WabContext& context, const WabEntry& entry, int32_t tag,
                       int32_t type) const {
    FoundValue found{sessions_.Find(context.handle), nullptr};
    const AddressBookEntry* in_entry = EntryOf(found.document, entry);
    if (in_entry != nullptr && PropertyTypeOf(tag) == type) {
      // The hint is only looked at when it is this entry's; a wrong one costs a search.
      found.property = last_tag_read.entry == in_entry
                           ? LastPropertyOf(*in_entry, tag, last_tag_read.index)
                           : LastPropertyOf(*in_entry, tag);
    }
    return found;
  }

  // CopyTextOut of a text of the document (UTF-8) in the code page that texts
  // cross in. ASCII, the most of every address book, is the same in both.
  int16_t CopyOutInCodePage(std::string_view text, bool ascii, char* buffer, int32_t buffer_size,
                            int32_t* required) const {
    if (ascii && keeps_ascii_) return CopyTextOut(text, buffer, buffer_size, required);
    return CopyOutConverted(text, buffer, buffer_size, required);
  }

  // Apart, so that the getters save no registers for it when the text is ASCII.
  [[gnu::noinline]] int16_t CopyOutConverted(std::string_view text, char* buffer,
                                             int32_t buffer_size, int32_t* required) const {
    return CopyTextOut(settings_.code_page->FromUtf16(DecodeUtf8(text)), buffer, buffer_size,
                       required);
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
  const bool keeps_ascii_;  // the code page's, asked once: it never changes
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
