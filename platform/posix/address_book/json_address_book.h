#pragma once

#include <memory>
#include <string>

#include "platform/address_book_library.h"
#include "platform/code_page.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// The address book this process opens when no file is named: $ORVANE_ADDRESS_BOOK,
// else $XDG_DATA_HOME/orvane/address-book.json, else
// $HOME/.local/share/orvane/address-book.json; empty when none of them is set.
std::string DefaultAddressBookFile();

// The stand-in for the outside address-book library. `file` names the address
// book to open; empty means DefaultAddressBookFile() at each open.
std::shared_ptr<AddressBookLibrary> MakeJsonAddressBookLibrary(
    std::shared_ptr<CodePage> code_page, std::shared_ptr<TimeZone> time_zone,
    std::string file = {});

}  // namespace orvane::posix
