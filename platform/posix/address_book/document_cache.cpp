#include "platform/posix/address_book/document_cache.h"

#include "platform/posix/address_book/document_parser.h"

namespace orvane::posix {

DocumentCache::DocumentCache(std::shared_ptr<AddressBookFileReader> reader)
    : reader_(std::move(reader)) {}

LoadedDocument DocumentCache::Load(const std::string& path) {
  // One reader at a time: a second thread waits and then finds the result cached.
  const std::lock_guard lock(mutex_);
  const std::optional<FileStamp> stamp = reader_->StampOf(path);
  if (stamp && slot_ && slot_->path == path && slot_->stamp == *stamp) return slot_->loaded;
  return ReadAndParse(path);
}

LoadedDocument DocumentCache::ReadAndParse(const std::string& path) {
  auto read = reader_->Read(path);
  if (auto* reason = std::get_if<std::string>(&read)) {
    return {nullptr, path + ": cannot read the file: " + *reason};
  }
  FileContent& content = std::get<FileContent>(read);
  ParseResult parsed = ParseAddressBook(content.bytes);
  LoadedDocument loaded{parsed.document, parsed.document ? "" : path + ": " + parsed.problem};
  slot_ = Slot{path, content.stamp, loaded};
  return loaded;
}

std::shared_ptr<DocumentCache> ProcessDocumentCache() {
  static const auto cache = std::make_shared<DocumentCache>(MakePosixFileReader());
  return cache;
}

}  // namespace orvane::posix
