#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/address_book/address_book_file.h"

namespace orvane::posix {

struct LoadedDocument {
  SharedDocument document;  // null when the file could not be read or understood
  std::string failure;      // then: "<path>: line 3: ..." or "<path>: cannot read the file: ..."
};

// Keeps the last address book read, with the verdict on it, while its file is
// unchanged: every operation of the component opens the library again, and
// reading a large address book each time would be slow. Safe on any thread.
class DocumentCache {
 public:
  explicit DocumentCache(std::shared_ptr<AddressBookFileReader> reader);

  LoadedDocument Load(const std::string& path);

 private:
  struct Slot {
    std::string path;
    FileStamp stamp;
    LoadedDocument loaded;
  };

  LoadedDocument ReadAndParse(const std::string& path);

  std::shared_ptr<AddressBookFileReader> reader_;
  std::mutex mutex_;
  std::optional<Slot> slot_;
};

// The cache that every library of this process shares.
std::shared_ptr<DocumentCache> ProcessDocumentCache();

}  // namespace orvane::posix
