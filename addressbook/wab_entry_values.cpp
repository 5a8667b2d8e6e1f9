#include "addressbook/wab_entry_values.h"

#include <exception>
#include <stdexcept>

#include "addressbook/property_reader.h"

namespace orvane {
namespace {

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

WabTagSet::WabTagSet(std::span<const int32_t> tags) {
  static_assert(kMaxTags <= kSlots / 2, "the set stays at most half full");
  if (tags.size() > kMaxTags) throw std::length_error("too many tags for one set");
  for (const int32_t tag : tags) {
    if (tag == 0) throw std::invalid_argument("0 is no tag");
    size_t slot = SlotOf(tag);
    while (tags_[slot] != 0 && tags_[slot] != tag) slot = (slot + 1) % kSlots;
    if (tags_[slot] == tag) continue;
    tags_[slot] = tag;
    places_[slot] = static_cast<uint8_t>(size_++);
  }
}

// Tags differ in their upper half and in their type; the product spreads both.
size_t WabTagSet::SlotOf(int32_t tag) {
  return static_cast<size_t>((static_cast<uint32_t>(tag) * 2654435761u) >> 25);
}

std::optional<size_t> WabTagSet::PlaceOf(int32_t tag) const {
  if (tag == 0) return std::nullopt;
  for (size_t slot = SlotOf(tag); tags_[slot] != 0; slot = (slot + 1) % kSlots) {
    if (tags_[slot] == tag) return places_[slot];
  }
  return std::nullopt;
}

WabEntryValues::WabEntryValues(const WabTagSet& tags) : tags_(tags) {
  // Room for the values of a well-filled entry.
  text_.reserve(1024);
}

std::u16string_view WabEntryValues::operator[](int32_t tag) const {
  const std::optional<size_t> place = tags_.PlaceOf(tag);
  if (!place || (texts_ & Bit(*place)) == 0) return {};
  return std::u16string_view(text_).substr(values_[*place].start, values_[*place].length);
}

std::optional<DateTimeParts> WabEntryValues::DateOf(int32_t tag) const {
  const std::optional<size_t> place = tags_.PlaceOf(tag);
  if (!place || (dated_ & Bit(*place)) == 0) return std::nullopt;
  return dates_[values_[*place].start];
}

void WabEntryValues::SetDate(size_t place, const std::optional<DateTimeParts>& date) {
  texts_ &= ~Bit(place);
  if (!date) {
    dated_ &= ~Bit(place);
    return;
  }
  // A tag met again keeps its index: dates_ holds one date per place at most.
  if ((dated_ & Bit(place)) == 0) {
    values_[place] = {dates_.size(), 0};
    dates_.emplace_back();
    dated_ |= Bit(place);
  }
  dates_[values_[place].start] = *date;
}

WabEntryValues GatherWabEntryValues(CallContext& context, int32_t EntryIndex,
                                    const WabTagSet& wanted) {
  WabEntryValues values(wanted);
  const int32_t count = PropertyCount(context, EntryIndex);
  for (int32_t index = 0; index < count; ++index) {
    const int32_t tag = PropertyTag(context, EntryIndex, index);
    const std::optional<size_t> place = wanted.PlaceOf(tag);
    if (!place) continue;
    const int32_t type = WabPropType(context, tag);
    if (type == PT_SYSTIME) {
      values.SetDate(*place, GetWabPropDate(context, tag, EntryIndex));
    } else {
      values.Read(*place, [&](std::u16string& text) {
        AppendWabPropTextOfType(context, tag, type, EntryIndex, text);
      });
    }
  }
  return values;
}

}  // namespace orvane
