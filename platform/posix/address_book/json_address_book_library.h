#pragma once

#include <memory>
#include <string>

#include "platform/address_book_library.h"
#include "platform/code_page.h"
#include "platform/posix/address_book/default_location.h"
#include "platform/posix/address_book/document_cache.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// Everything the library depends on, so that tests can put their own in.
struct JsonAddressBookSettings {
  std::shared_ptr<CodePage> code_page;
  std::shared_ptr<TimeZone> time_zone;
  std::string file;  // empty: DefaultAddressBookFile(environment) at each open
  std::shared_ptr<DocumentCache> cache;
  EnvironmentReader environment;
};

// Throws std::invalid_argument when a dependency is missing.
std::shared_ptr<AddressBookLibrary> MakeJsonAddressBookLibrary(JsonAddressBookSettings settings);

}  // namespace orvane::posix
