// What a POSIX process uses when its host names nothing else: the file reader
// of this system, the process environment and one document cache for all.
// Kept apart from the reader so that other systems can build the reader with
// their own file access.

#include "platform/posix/address_book/document_cache.h"
#include "platform/posix/address_book/json_address_book.h"
#include "platform/posix/address_book/json_address_book_library.h"

namespace orvane::posix {

std::shared_ptr<DocumentCache> ProcessDocumentCache() {
  static const auto cache = std::make_shared<DocumentCache>(MakePosixFileReader());
  return cache;
}

std::string DefaultAddressBookFile() { return DefaultAddressBookFile(ProcessEnvironment()); }

std::shared_ptr<AddressBookLibrary> MakeJsonAddressBookLibrary(
    std::shared_ptr<CodePage> code_page, std::shared_ptr<TimeZone> time_zone, std::string file) {
  return MakeJsonAddressBookLibrary(JsonAddressBookSettings{std::move(code_page),
                                                            std::move(time_zone), std::move(file),
                                                            ProcessDocumentCache(),
                                                            ProcessEnvironment()});
}

}  // namespace orvane::posix
