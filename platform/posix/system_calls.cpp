#include "platform/posix/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>

namespace orvane::posix {
namespace {

int ErrorOf(long result) { return result < 0 ? errno : 0; }

// Repeats a call that a signal interrupted.
template <typename Call>
long Retrying(Call call) {
  long result;
  do {
    result = static_cast<long>(call());
  } while (result < 0 && errno == EINTR);
  return result;
}

struct FolderCloser {
  void operator()(DIR* folder) const { closedir(folder); }
};

}  // namespace

int SystemCalls::Status(const std::string& path, struct stat& out) {
  return ErrorOf(::stat(path.c_str(), &out));
}

int SystemCalls::LinkStatus(const std::string& path, struct stat& out) {
  return ErrorOf(::lstat(path.c_str(), &out));
}

int SystemCalls::MakeFolder(const std::string& path) {
  return ErrorOf(::mkdir(path.c_str(), 0777));
}

int SystemCalls::MakeUniqueFolder(std::string& path_template) {
  return ::mkdtemp(path_template.data()) == nullptr ? errno : 0;
}

int SystemCalls::CheckWritable(const std::string& path) {
  return ErrorOf(::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS));
}

int SystemCalls::RemoveFolder(const std::string& path) { return ErrorOf(::rmdir(path.c_str())); }

int SystemCalls::RemoveFile(const std::string& path) { return ErrorOf(::unlink(path.c_str())); }

int SystemCalls::Rename(const std::string& from, const std::string& to) {
  return ErrorOf(::rename(from.c_str(), to.c_str()));
}

int SystemCalls::RenameWithoutReplacing(const std::string& from, const std::string& to) {
  return ErrorOf(::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
}

int SystemCalls::ListFolder(const std::string& path, std::vector<std::string>& names) {
  std::unique_ptr<DIR, FolderCloser> folder(::opendir(path.c_str()));
  if (!folder) return errno;
  names.clear();
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(folder.get());
    if (entry == nullptr) return errno;
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.emplace_back(entry->d_name);
    }
  }
}

int SystemCalls::Open(const std::string& path, int flags, mode_t mode, int& fd) {
  const long result = Retrying([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); });
  if (result < 0) return errno;
  fd = static_cast<int>(result);
  return 0;
}

// As mkostemp, which has no mode of its own: six random letters or digits
// until a name is new.
int SystemCalls::CreateUniqueFile(std::string& path_template, mode_t mode, int& fd) {
  static constexpr std::string_view kCharacters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr size_t kRandomLength = 6;
  constexpr int kAttempts = 10000;
  if (!path_template.ends_with("XXXXXX")) return EINVAL;
  thread_local std::mt19937_64 random{std::random_device{}()};
  const size_t first = path_template.size() - kRandomLength;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    uint64_t bits = random();
    for (size_t i = first; i < path_template.size(); ++i) {
      path_template[i] = kCharacters[bits % kCharacters.size()];
      bits /= kCharacters.size();
    }
    const long result = Retrying([&] {
      return ::open(path_template.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    });
    if (result >= 0) {
      fd = static_cast<int>(result);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int SystemCalls::FileStatus(int fd, struct stat& out) { return ErrorOf(::fstat(fd, &out)); }

int SystemCalls::Read(int fd, char* buffer, std::size_t size, std::size_t& count) {
  const long result = Retrying([&] { return ::read(fd, buffer, size); });
  if (result < 0) return errno;
  count = static_cast<std::size_t>(result);
  return 0;
}

int SystemCalls::Write(int fd, const char* bytes, std::size_t size, std::size_t& count) {
  const long result = Retrying([&] { return ::write(fd, bytes, size); });
  if (result < 0) return errno;
  count = static_cast<std::size_t>(result);
  return 0;
}

int SystemCalls::Truncate(int fd, off_t length) {
  return ErrorOf(Retrying([&] { return ::ftruncate(fd, length); }));
}

int SystemCalls::ChangeMode(int fd, mode_t mode) { return ErrorOf(::fchmod(fd, mode)); }

// close() is not retried: after EINTR the descriptor is already gone on Linux.
int SystemCalls::Close(int fd) { return ErrorOf(::close(fd)); }

int WriteAll(SystemCalls& calls, int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    std::size_t count = 0;
    if (const int error = calls.Write(fd, bytes, size, count)) return error;
    // A write that takes nothing would loop for ever; the device is full.
    if (count == 0) return ENOSPC;
    bytes += count;
    size -= count;
  }
  return 0;
}

}  // namespace orvane::posix
