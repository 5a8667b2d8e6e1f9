#include "platform/posix/file_copy.h"

#include <fcntl.h>

#include <array>
#include <cerrno>
#include <utility>

#include "platform/posix/error_mapping.h"
#include "platform/posix/path_text.h"

namespace orvane::posix {
namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

// Closes the descriptor on every path out, and removes the temporary file unless kept.
class OpenFile {
 public:
  explicit OpenFile(SystemCalls& calls) : calls_(calls) {}
  ~OpenFile() {
    if (fd_ >= 0) calls_.Close(fd_);
    if (!temporary_path_.empty()) calls_.RemoveFile(temporary_path_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  int& fd() { return fd_; }
  void RemoveOnExit(std::string path) { temporary_path_ = std::move(path); }
  void Keep() { temporary_path_.clear(); }
  // Closes now, so that a failure to close (deferred write errors) is seen.
  int Close() {
    const int error = calls_.Close(fd_);
    fd_ = -1;
    return error;
  }

 private:
  SystemCalls& calls_;
  int fd_ = -1;
  std::string temporary_path_;
};

std::string TemporaryTemplateFor(const std::string& target) {
  std::string folder = ParentFolderOf<char>(target);
  if (!folder.empty() && !EndsWithSeparator(folder)) folder += '/';
  return folder + "." + LastNameOf(target) + ".XXXXXX";
}

int CopyBytes(SystemCalls& calls, int from, int to, bool& failed_on_source) {
  std::array<char, kCopyChunk> buffer;
  for (;;) {
    std::size_t count = 0;
    if (const int error = calls.Read(from, buffer.data(), buffer.size(), count)) {
      failed_on_source = true;
      return error;
    }
    if (count == 0) return 0;
    if (const int error = WriteAll(calls, to, buffer.data(), count)) return error;
  }
}

// Gives the finished new file the target's name. Where nothing has that name,
// as in a new destination, nothing needs to be asked first.
int TakeTargetName(SystemCalls& calls, const std::string& temporary, const std::string& target,
                   const ReplaceCheck& may_replace) {
  const int error = calls.RenameWithoutReplacing(temporary, target);
  if (error != EEXIST && error != EINVAL && error != ENOSYS) return error;
  if (const int refusal = may_replace()) return refusal;
  return calls.Rename(temporary, target);
}

}  // namespace

int ReplaceRefusal(SystemCalls& calls, const std::string& target) {
  struct stat status {};
  if (const int error = calls.Status(target, status)) return IsAbsence(error) ? 0 : error;
  if (!S_ISREG(status.st_mode)) return 0;
  const int access = calls.CheckWritable(target);
  return IsWriteRefusal(access) ? access : 0;
}

int CopyFileReplacing(SystemCalls& calls, int source, mode_t mode, const std::string& target,
                      const ReplaceCheck& may_replace, bool& failed_on_source) {
  failed_on_source = false;
  std::string temporary = TemporaryTemplateFor(target);
  OpenFile output(calls);
  if (const int error = calls.CreateUniqueFile(temporary, 0600, output.fd())) return error;
  output.RemoveOnExit(temporary);
  // Exactly the source's bits, which the umask must not narrow.
  if (const int error = calls.ChangeMode(output.fd(), mode & 0777)) return error;
  if (const int error = CopyBytes(calls, source, output.fd(), failed_on_source)) return error;
  if (const int error = output.Close()) return error;
  if (const int error = TakeTargetName(calls, temporary, target, may_replace)) return error;
  output.Keep();
  return 0;
}

int WriteFileReplacing(SystemCalls& calls, const std::string& target, std::string_view bytes,
                       const ReplaceCheck& may_replace) {
  std::string temporary = TemporaryTemplateFor(target);
  OpenFile output(calls);
  if (const int error = calls.CreateUniqueFile(temporary, 0666, output.fd())) return error;
  output.RemoveOnExit(temporary);
  if (const int error = WriteAll(calls, output.fd(), bytes.data(), bytes.size())) return error;
  if (const int error = output.Close()) return error;
  if (const int error = TakeTargetName(calls, temporary, target, may_replace)) return error;
  output.Keep();
  return 0;
}

}  // namespace orvane::posix
