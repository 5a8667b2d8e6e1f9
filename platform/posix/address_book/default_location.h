#pragma once

#include <string>

#include "platform/posix/environment.h"

namespace orvane::posix {

// $ORVANE_ADDRESS_BOOK when set and not empty; else
// $XDG_DATA_HOME/orvane/address-book.json when that is an absolute path (the
// base-directory rules say to ignore a relative one); else
// $HOME/.local/share/orvane/address-book.json; empty when HOME is unset too.
std::string DefaultAddressBookFile(const EnvironmentReader& environment);

}  // namespace orvane::posix
