#pragma once

#include <memory>

#include "component/export_source.h"

namespace orvane {

// Export type 3: the contacts of the address book, written as vCard 2.1 cards.
std::unique_ptr<ExportSource> MakeAddressBookSource();

}  // namespace orvane
