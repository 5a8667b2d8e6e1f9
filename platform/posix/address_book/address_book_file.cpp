#include "platform/posix/address_book/address_book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace orvane::posix {
namespace {

FileStamp StampFromStatus(const struct stat& status) {
  return FileStamp{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                   static_cast<int64_t>(status.st_size),
                   static_cast<int64_t>(status.st_mtim.tv_sec),
                   static_cast<int64_t>(status.st_mtim.tv_nsec)};
}

std::string ReasonOf(int error_number) { return std::generic_category().message(error_number); }

// Closes the descriptor on every way out.
class OpenFile {
 public:
  // Without blocking: opening a FIFO would otherwise wait for a writer for ever.
  explicit OpenFile(const std::string& path)
      : descriptor_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~OpenFile() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};

// Reads to the end; returns 0 or the errno that stopped it.
int ReadAll(int descriptor, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count == 0) return 0;
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

class PosixFileReader : public AddressBookFileReader {
 public:
  std::optional<FileStamp> StampOf(const std::string& path) override {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return StampFromStatus(status);
  }

  std::variant<FileContent, std::string> Read(const std::string& path) override {
    const OpenFile file(path);
    if (file.descriptor() < 0) return ReasonOf(errno);
    struct stat status {};
    if (fstat(file.descriptor(), &status) != 0) return ReasonOf(errno);
    // A FIFO or a device could block or never end.
    if (S_ISDIR(status.st_mode)) return ReasonOf(EISDIR);
    if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
    FileContent content{StampFromStatus(status), {}};
    if (status.st_size > 0) content.bytes.reserve(static_cast<size_t>(status.st_size));
    if (const int failure = ReadAll(file.descriptor(), content.bytes); failure != 0) {
      return ReasonOf(failure);
    }
    return content;
  }
};

}  // namespace

std::shared_ptr<AddressBookFileReader> MakePosixFileReader() {
  return std::make_shared<PosixFileReader>();
}

}  // namespace orvane::posix
