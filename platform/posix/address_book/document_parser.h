#pragma once

#include <string>
#include <string_view>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/stamped_file_cache.h"

namespace orvane::posix {

// Without a document: "line 12: entry 3, property 2: PR_GENDER wants ...".
using ParseResult = ParsedText<AddressBookDocument>;

// Reads the JSON text of an address-book file (UTF-8).
ParseResult ParseAddressBook(std::string_view text);

}  // namespace orvane::posix
