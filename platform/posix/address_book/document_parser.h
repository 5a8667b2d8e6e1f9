#pragma once

#include <string>
#include <string_view>

#include "platform/posix/address_book/address_book_document.h"

namespace orvane::posix {

struct ParseResult {
  SharedDocument document;  // null when the text is not a valid address book
  std::string problem;      // then: "line 12: entry 3, property 2: PR_GENDER wants ..."
};

// Reads the JSON text of an address-book file (UTF-8).
ParseResult ParseAddressBook(std::string_view text);

}  // namespace orvane::posix
