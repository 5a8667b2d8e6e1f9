#include "addressbook/wab_entry_values.h"

#include <algorithm>
#include <exception>

#include "addressbook/property_reader.h"

namespace orvane {
namespace {

const std::u16string kNoValue;

bool IsWanted(std::span<const int32_t> wanted, int32_t tag) {
  return std::find(wanted.begin(), wanted.end(), tag) != wanted.end();
}

int32_t PropertyCount(CallContext& context, int32_t EntryIndex) {
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr || !context.platform.address_book) return 0;
  try {
    return context.platform.address_book->kWabGetNumProps(context.state.WabContext, *entry);
  } catch (const std::exception&) {
    return 0;
  }
}

// The tag at `index`; 0, which no wanted property has, when it cannot be read.
int32_t PropertyTag(CallContext& context, int32_t EntryIndex, int32_t index) {
  // Looked up again for every property: nothing may keep a reference into
  // WabEntries across calls into the library.
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr) return 0;
  try {
    return context.platform.address_book->kWabGetPropTag(context.state.WabContext, *entry,
                                                         index, 0);
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

WabEntry* WabEntryAt(SharedState& state, int32_t EntryIndex) {
  if (EntryIndex < 1 || static_cast<size_t>(EntryIndex) >= state.WabEntries.size()) {
    return nullptr;
  }
  return &state.WabEntries[static_cast<size_t>(EntryIndex)];
}

const std::u16string& WabEntryValues::operator[](int32_t tag) const {
  const auto found = values_.find(tag);
  return found == values_.end() ? kNoValue : found->second;
}

void WabEntryValues::Set(int32_t tag, std::u16string value) { values_[tag] = std::move(value); }

WabEntryValues GatherWabEntryValues(CallContext& context, int32_t EntryIndex,
                                    std::span<const int32_t> wanted) {
  WabEntryValues values;
  const int32_t count = PropertyCount(context, EntryIndex);
  for (int32_t index = 0; index < count; ++index) {
    const int32_t tag = PropertyTag(context, EntryIndex, index);
    if (IsWanted(wanted, tag)) {
      values.Set(tag, GetWabPropText(context, tag, EntryIndex));
    }
  }
  return values;
}

}  // namespace orvane
