#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include "component/call_context.h"
#include "component/shared_state.h"

namespace orvane {

// Element EntryIndex of WabEntries; null outside 1 to size - 1 (element 0 is
// never filled by the library).
WabEntry* WabEntryAt(SharedState& state, int32_t EntryIndex);

// The text values of some properties of one entry, by tag.
class WabEntryValues {
 public:
  // Empty when the entry lacks the tag.
  const std::u16string& operator[](int32_t tag) const;
  void Set(int32_t tag, std::u16string value);

 private:
  std::unordered_map<int32_t, std::u16string> values_;
};

// Reads, in the library's order, every property of entry EntryIndex whose tag is
// in `wanted`; a tag met twice keeps its last value. A property whose tag cannot
// be read is skipped; an entry outside WabEntries gives no values. Never fails.
WabEntryValues GatherWabEntryValues(CallContext& context, int32_t EntryIndex,
                                    std::span<const int32_t> wanted);

}  // namespace orvane
