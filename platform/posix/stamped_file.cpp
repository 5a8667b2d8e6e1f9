#include "platform/posix/stamped_file.h"

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

// Why a file of this kind cannot be read; empty for a regular file.
std::string RefusalOf(const struct stat& status) {
  if (S_ISREG(status.st_mode)) return {};
  if (S_ISDIR(status.st_mode)) return ReasonOf(EISDIR);
  return "not a regular file";
}

// Closes the descriptor on every way out.
class OpenFile {
 public:
  // Non-blocking, so that a pipe put in the file's place after the check
  // cannot hold the open up; reading a regular file never blocks anyway.
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

class PosixFileReader : public StampedFileReader {
 public:
  std::optional<FileStamp> StampOf(const std::string& path) override {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return StampFromStatus(status);
  }

  std::variant<FileContent, std::string> Read(const std::string& path) override {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return ReasonOf(errno);
    if (std::string refusal = RefusalOf(status); !refusal.empty()) return refusal;
    const OpenFile file(path);
    if (file.descriptor() < 0) return ReasonOf(errno);
    if (fstat(file.descriptor(), &status) != 0) return ReasonOf(errno);
    if (std::string refusal = RefusalOf(status); !refusal.empty()) return refusal;
    FileContent content{StampFromStatus(status), {}};
    if (status.st_size > 0) content.bytes.reserve(static_cast<size_t>(status.st_size));
    if (const int failure = ReadAll(file.descriptor(), content.bytes); failure != 0) {
      return ReasonOf(failure);
    }
    return content;
  }
};

}  // namespace

std::shared_ptr<StampedFileReader> MakePosixFileReader() {
  return std::make_shared<PosixFileReader>();
}

}  // namespace orvane::posix
