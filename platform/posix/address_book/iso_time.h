#pragma once

#include <optional>
#include <string_view>

#include "platform/posix/address_book/address_book_document.h"

namespace orvane::posix {

// Reads an ISO 8601 date or date and time of the years 1601 to 9999:
//   "1980-05-17"                      local midnight
//   "2005-03-01T12:00" / "...:00"     local time
//   "2005-03-01T12:00:00.123Z"        UTC; fractions to 100 ns, more digits cut
//   "2005-03-01T17:30:00+05:30"       the same instant as 12:00:00Z ("+0530", "+05" too)
// Nothing for any other text, an impossible date or time, or an instant before 1601.
std::optional<StoredTime> ParseIsoTime(std::string_view text);

}  // namespace orvane::posix
