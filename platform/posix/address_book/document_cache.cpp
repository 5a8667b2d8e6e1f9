#include "platform/posix/address_book/document_cache.h"

#include "platform/posix/address_book/document_parser.h"

namespace orvane::posix {

DocumentCache::DocumentCache(std::shared_ptr<StampedFileReader> reader)
    : StampedFileCache(std::move(reader), ParseAddressBook) {}

std::shared_ptr<DocumentCache> ProcessDocumentCache() {
  static const auto cache = std::make_shared<DocumentCache>(MakePosixFileReader());
  return cache;
}

}  // namespace orvane::posix
