#pragma once

#include <memory>

#include "platform/address_book_library.h"

namespace orvane::windows::kwab {

// The address book behind the exported functions of kwab.dll. Each build of
// the DLL defines it once: over the Windows Address Book, or over the JSON
// stand-in store. Called at the first exported call; may throw.
std::shared_ptr<AddressBookLibrary> MakeKwabLibrary();

}  // namespace orvane::windows::kwab
