#pragma once

#include "platform/windows/windows_headers.h"

#include <memory>

#include "platform/address_book_library.h"
#include "platform/component_location.h"

namespace orvane::windows {

// kwab.dll, loaded at the first call that needs it: beside the component
// first, then by the system's search. While it cannot be loaded (or lacks a
// function), every call throws error 53 "File not found", and the next call
// tries again.
std::shared_ptr<AddressBookLibrary> MakeWindowsAddressBookLibrary(
    std::shared_ptr<ComponentLocation> location);

}  // namespace orvane::windows
