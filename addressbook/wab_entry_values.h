#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "component/call_context.h"
#include "component/shared_state.h"
#include "platform/automation_date.h"

namespace orvane {

// Element EntryIndex of WabEntries; null outside 1 to size - 1 (element 0 is
// never filled by the library).
// Inline: every read of a property looks its entry up again.
inline WabEntry* WabEntryAt(SharedState& state, int32_t EntryIndex) {
  if (EntryIndex < 1 || static_cast<size_t>(EntryIndex) >= state.WabEntries.size()) {
    return nullptr;
  }
  return &state.WabEntries[static_cast<size_t>(EntryIndex)];
}

// Some property tags, each with its place in the set, found in one step: an
// entry's every property is looked up in it.
class WabTagSet {
 public:
  static constexpr size_t kMaxTags = 64;
  // At most kMaxTags tags, none of them 0. A set of constant tags is a
  // constant, whose places are found when the program is compiled.
  constexpr explicit WabTagSet(std::span<const int32_t> tags) {
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

  constexpr size_t size() const { return size_; }
  constexpr std::optional<size_t> PlaceOf(int32_t tag) const {
    if (tag == 0) return std::nullopt;
    for (size_t slot = SlotOf(tag); tags_[slot] != 0; slot = (slot + 1) % kSlots) {
      if (tags_[slot] == tag) return places_[slot];
    }
    return std::nullopt;
  }

 private:
  static constexpr size_t kSlots = 128;
  // Tags differ in their upper half and in their type; the product spreads both.
  static constexpr size_t SlotOf(int32_t tag) {
    return static_cast<size_t>((static_cast<uint32_t>(tag) * 2654435761u) >> 25);
  }

  std::array<int32_t, kSlots> tags_{};  // 0: a free slot
  std::array<uint8_t, kSlots> places_{};
  size_t size_ = 0;
};

// The values of some properties of one entry, by their tags' places in a tag
// set: texts kept one after the other in one text, times as dates beside them.
class WabEntryValues {
 public:
  WabEntryValues();

  // The text at the place; empty when there is no place, or it holds no text.
  std::u16string_view TextAt(std::optional<size_t> place) const {
    if (!place || (texts_ & Bit(*place)) == 0) return {};
    const TextPlace& text = values_[*place].text;
    return {text_.data() + text.start, text.length};
  }
  // The date at the place; nothing when there is no place, or it holds no date.
  std::optional<DateTimeParts> DateAt(std::optional<size_t> place) const;
  // Sets the value at `place` to what `append(text)` appends to the text it is
  // handed.
  template <typename Append>
  void Read(size_t place, Append append) {
    const size_t start = text_.size();
    append(text_);
    values_[place].text = {start, text_.size() - start};
    texts_ |= Bit(place);
    dated_ &= ~Bit(place);
  }
  // Sets the value at `place` to a time; nothing, or a date outside the years
  // 100 to 9999, leaves it absent.
  void SetDate(size_t place, const std::optional<DateTimeParts>& date);

 private:
  static_assert(WabTagSet::kMaxTags <= 64, "a place is a bit of a word");
  static uint64_t Bit(size_t place) { return uint64_t{1} << place; }

  // A text's place in text_, or a date's parts (years 100 to 9999), which fit
  // in the same room; the bit sets tell which one a place holds.
  struct TextPlace {
    size_t start;
    size_t length;
  };
  struct DateFields {
    int16_t year;
    uint8_t month, day, hour, minute, second;
  };
  union Value {
    TextPlace text;
    DateFields date;
  };
  // Only the places whose bits are set hold a value. The others are left as
  // they are: clearing them costs more than reading a whole small entry, and a
  // union is copied as its bytes, set or not.
  std::array<Value, WabTagSet::kMaxTags> values_;
  uint64_t texts_ = 0;
  uint64_t dated_ = 0;
  std::u16string text_;
};

// Reads, in the library's order, every property of entry EntryIndex whose tag is
// in `wanted`, each at its tag's place, a time as its date; a tag met twice
// keeps its last value. A property whose tag cannot be read is skipped; an
// entry outside WabEntries gives no values. Never fails.
WabEntryValues GatherWabEntryValues(CallContext& context, int32_t EntryIndex,
                                    const WabTagSet& wanted);

}  // namespace orvane
