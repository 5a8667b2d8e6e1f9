#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvane::posix {

// Reads one environment variable; nothing when it is not set.
using EnvironmentReader = std::function<std::optional<std::string>(const std::string& name)>;

EnvironmentReader ProcessEnvironment();

// $ORVANE_ADDRESS_BOOK when set and not empty; else
// $XDG_DATA_HOME/orvane/address-book.json when that is an absolute path (the
// base-directory rules say to ignore a relative one); else
// $HOME/.local/share/orvane/address-book.json; empty when HOME is unset too.
std::string DefaultAddressBookFile(const EnvironmentReader& environment);

}  // namespace orvane::posix
