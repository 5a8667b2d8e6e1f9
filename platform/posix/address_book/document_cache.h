#pragma once

#include <memory>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/stamped_file_cache.h"

namespace orvane::posix {

using LoadedDocument = LoadedFile<AddressBookDocument>;

// The address books read by this process, kept while their file is unchanged.
class DocumentCache : public StampedFileCache<AddressBookDocument> {
 public:
  explicit DocumentCache(std::shared_ptr<StampedFileReader> reader);
};

// The cache that every library of this process shares.
std::shared_ptr<DocumentCache> ProcessDocumentCache();

}  // namespace orvane::posix
