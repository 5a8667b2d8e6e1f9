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

WabEntryValues::WabEntryValues(const WabTagSet& tags) : tags_(tags) {
  // Room for the values of a well-filled entry.
  text_.reserve(1024);
}

std::optional<DateTimeParts> WabEntryValues::DateOf(int32_t tag) const {
  const std::optional<size_t> place = tags_.PlaceOf(tag);
  if (!place || (dated_ & Bit(*place)) == 0) return std::nullopt;
  const DateFields& date = values_[*place].date;
  return DateTimeParts{date.year, date.month, date.day, date.hour, date.minute, date.second};
}

void WabEntryValues::SetDate(size_t place, const std::optional<DateTimeParts>& date) {
  texts_ &= ~Bit(place);
  if (!date || !IsAutomationYear(date->year)) {
    dated_ &= ~Bit(place);
    return;
  }
  values_[place].date = {static_cast<int16_t>(date->year),  static_cast<uint8_t>(date->month),
                         static_cast<uint8_t>(date->day),   static_cast<uint8_t>(date->hour),
                         static_cast<uint8_t>(date->minute), static_cast<uint8_t>(date->second)};
  dated_ |= Bit(place);
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
