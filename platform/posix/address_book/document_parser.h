#pragma once

#include <string>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/stamped_file_cache.h"

namespace orvane::posix {

// Without a document: "line 12: entry 3, property 2: PR_GENDER wants ...".
using ParseResult = ParsedText<AddressBookDocument>;

// Reads the JSON text of an address-book file (UTF-8). The document keeps the
// text, read in place, for its text values.
ParseResult ParseAddressBook(std::string text);

}  // namespace orvane::posix
