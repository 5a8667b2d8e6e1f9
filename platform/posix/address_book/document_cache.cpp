#include "platform/posix/address_book/document_cache.h"

#include "platform/posix/address_book/document_parser.h"

namespace orvane::posix {

DocumentCache::DocumentCache(std::shared_ptr<StampedFileReader> reader)
    : StampedFileCache(std::move(reader), ParseAddressBook) {}

}  // namespace orvane::posix
