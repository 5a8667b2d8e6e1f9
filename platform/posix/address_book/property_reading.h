#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_time.h"
#include "platform/posix/address_book/address_book_document.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// The value of the tag's LAST occurrence in the entry, as the component keeps
// the last occurrence when it scans an entry; null when the entry lacks the tag.
const PropertyValue* LastValueOf(const AddressBookEntry& entry, int32_t tag);

// Hands out `bytes` and a NUL. When they do not fit into `buffer_size` bytes
// (or there is no buffer) it writes nothing and returns 0. `*required`, when
// given, receives the size the text needs with its NUL, on success as well.
int16_t CopyTextOut(const std::string& bytes, char* buffer, int32_t buffer_size,
                    int32_t* required);

// The stored time as the reader's local time, shifted by the bias in force now
// as the system does it: local = UTC - (Bias + StandardBias or DaylightBias).
// A time stored without zone is local already and comes back unchanged; when
// the zone cannot be told, UTC comes back unchanged. Nothing when the shift
// leaves the range a FILETIME can hold.
std::optional<FileTime> LocalFileTimeOf(const StoredTime& time, const TimeZoneInformation& zone);

}  // namespace orvane::posix
