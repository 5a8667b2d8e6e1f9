#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/stamped_file.h"

namespace orvane::posix {

// What a parser makes of a file's text.
template <typename Document>
struct ParsedText {
  std::shared_ptr<const Document> document;  // null when the text is not valid
  std::string problem;                       // then: "line 12: ..."
};

template <typename Document>
struct LoadedFile {
  std::shared_ptr<const Document> document;  // null when the file could not be read or understood
  std::string failure;  // then: "<path>: line 3: ..." or "<path>: cannot read the file: ..."
};

// Keeps the last document read, with the verdict on it, while its file is
// unchanged: the component opens its sources again for every operation, and
// reading a large file each time would be slow. Safe on any thread.
template <typename Document>
class StampedFileCache {
 public:
  // Takes the file's bytes, which the document may keep.
  using Parser = std::function<ParsedText<Document>(std::string text)>;

  StampedFileCache(std::shared_ptr<StampedFileReader> reader, Parser parse)
      : reader_(std::move(reader)), parse_(std::move(parse)) {}

  LoadedFile<Document> Load(const std::string& path) {
    // One reader at a time: a second thread waits and then finds the result cached.
    const std::lock_guard lock(mutex_);
    const std::optional<FileStamp> stamp = reader_->StampOf(path);
    if (stamp && slot_ && slot_->path == path && slot_->stamp == *stamp) return slot_->loaded;
    return ReadAndParse(path);
  }

 private:
  struct Slot {
    std::string path;
    FileStamp stamp;
    LoadedFile<Document> loaded;
  };

  LoadedFile<Document> ReadAndParse(const std::string& path) {
    auto read = reader_->Read(path);
    if (auto* reason = std::get_if<std::string>(&read)) {
      return {nullptr, path + ": cannot read the file: " + *reason};
    }
    FileContent& content = std::get<FileContent>(read);
    ParsedText<Document> parsed = parse_(std::move(content.bytes));
    LoadedFile<Document> loaded{parsed.document,
                                parsed.document ? "" : path + ": " + parsed.problem};
    slot_ = Slot{path, content.stamp, loaded};
    return loaded;
  }

  std::shared_ptr<StampedFileReader> reader_;
  Parser parse_;
  std::mutex mutex_;
  std::optional<Slot> slot_;
};

}  // namespace orvane::posix
