#pragma once

// What the tests of the saved texts share: stored times made from calendar
// parts, fixed zones, and the whole text made from its lines.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/automation_date.h"
#include "platform/posix/address_book/address_book_document.h"
#include "platform/time_zone.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

using Zone = TimeZoneInformation;
inline constexpr Zone kUtc{Zone::kStandard, 0, 0, 0};
inline constexpr Zone kIndia{Zone::kUnknown, -330, 0, 0};            // UTC+5:30
inline constexpr Zone kNewYorkSummer{Zone::kDaylight, 300, 0, -60};  // UTC-4
inline constexpr Zone kNoZone{Zone::kInvalid, 300, 0, -60};          // the call failed

inline uint64_t TicksOf(const DateTimeParts& parts) {
  constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
  return static_cast<uint64_t>(SecondsFromParts(parts) + kSecondsFrom1601To1970) * 10'000'000u;
}
inline posix::StoredTime Utc(const DateTimeParts& parts) { return {TicksOf(parts), true}; }
inline posix::StoredTime Local(const DateTimeParts& parts) { return {TicksOf(parts), false}; }

// `item` after `change`, for rows that differ from a base item in one field.
template <typename Item, typename Change>
Item With(Item item, Change change) {
  change(item);
  return item;
}

// Each line followed by CR LF, as a saved file holds them.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace orvane::testing
