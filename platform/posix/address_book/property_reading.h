#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "platform/file_time.h"
#include "platform/posix/address_book/address_book_document.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// The tag's LAST occurrence in the entry, as the component keeps the last
// occurrence when it scans an entry; null when the entry lacks the tag.
const Property* LastPropertyOf(const AddressBookEntry& entry, int32_t tag);
// The same, looking first at the property at `likely_index`: a reader asks for
// the value of the tag it has just read. Inline, as every getter call takes it.
inline const Property* LastPropertyOf(const AddressBookEntry& entry, int32_t tag,
                                      size_t likely_index) {
  if (likely_index < entry.properties.size()) {
    const Property& likely = entry.properties[likely_index];
    if (likely.tag() == tag && !likely.IsRepeatedLater()) return &likely;
  }
  return LastPropertyOf(entry, tag);
}

// Hands out `bytes` and a NUL. When they do not fit into `buffer_size` bytes
// (or there is no buffer) it writes nothing and returns 0. `*required`, when
// given, receives the size the text needs with its NUL, on success as well.
// Inline, as every text a getter hands out takes it.
inline int16_t CopyTextOut(std::string_view bytes, char* buffer, int32_t buffer_size,
                           int32_t* required) {
  if (bytes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  const auto needed = static_cast<int32_t>(bytes.size() + 1);
  if (required != nullptr) *required = needed;
  if (buffer == nullptr || buffer_size < needed) return 0;
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return 1;
}

// The stored time as the reader's local time, shifted by the bias in force now
// as the system does it: local = UTC - (Bias + StandardBias or DaylightBias).
// A time stored without zone is local already and comes back unchanged; when
// the zone cannot be told, UTC comes back unchanged. Nothing when the shift
// leaves the range a FILETIME can hold.
std::optional<FileTime> LocalFileTimeOf(const StoredTime& time, const TimeZoneInformation& zone);
// The same, asking the zone for its bias only when the time needs it.
std::optional<FileTime> LocalFileTimeOf(const StoredTime& time, TimeZone& zone);

}  // namespace orvane::posix
