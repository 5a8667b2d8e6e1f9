#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace orvane::posix {

// What tells one version of a file from another without reading it.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_seconds = 0;
  int64_t modified_nanoseconds = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct FileContent {
  FileStamp stamp;  // taken before reading, so a later change always shows
  std::string bytes;
};

// Reads the data files the stand-ins keep (address book, mail store); tests put
// a fake in its place.
class StampedFileReader {
 public:
  virtual ~StampedFileReader() = default;
  // Nothing when the file cannot be examined.
  virtual std::optional<FileStamp> StampOf(const std::string& path) = 0;
  // The whole file, or the reason it cannot be read ("No such file or directory").
  // Only regular files are read: a pipe or a device could keep the reader
  // waiting for ever.
  virtual std::variant<FileContent, std::string> Read(const std::string& path) = 0;
};

std::shared_ptr<StampedFileReader> MakePosixFileReader();

}  // namespace orvane::posix
