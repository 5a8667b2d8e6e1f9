#pragma once

#include <optional>
#include <string>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// The stored times of an item as the saved texts write them. A time stored as
// UTC is moved to local time, and a local one to UTC, by the bias in force
// (UTC = local time + bias), the inverse of what the reader shows. Each gives
// nothing rather than a wrong value: when the move needs the zone and the zone
// cannot be told, or when the result falls outside years 1601 to 9999.

// "yyyyMMddTHHmmssZ": the instant in UTC.
std::optional<std::u16string> UtcTimeText(const StoredTime& time, const TimeZoneInformation& zone);

// "yyyyMMdd": the local date.
std::optional<std::u16string> LocalDateText(const StoredTime& time,
                                            const TimeZoneInformation& zone);

// "yyyyMMddT000000": the start of the local day, as a whole-day event writes it.
std::optional<std::u16string> LocalDayStartText(const StoredTime& time,
                                                const TimeZoneInformation& zone);

}  // namespace orvane::posix
