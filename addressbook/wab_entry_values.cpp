#include "addressbook/wab_entry_values.h"

#include <exception>

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

WabEntryValues::WabEntryValues() {
  // Room for the values of a well-filled entry.
  text_.reserve(1024);
}

std::optional<DateTimeParts> WabEntryValues::DateAt(std::optional<size_t> place) const {
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
  WabEntryValues values;
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
