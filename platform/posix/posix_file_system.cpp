#include "platform/posix/posix_file_system.h"

#include <fcntl.h>

#include <cerrno>
#include <utility>

#include "platform/error.h"
#include "platform/posix/file_copy.h"
#include "platform/posix/folder_tree.h"
#include "platform/posix/path_text.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

// A NUL would cut the path short at the operating system and so name another
// path. Every file operation asks, so no early way out: the compiler then tests
// many characters at once.
bool HoldsNul(const std::u16string& path) {
  unsigned nul = 0;
  for (const char16_t c : path) nul |= unsigned(c == u'\0');
  return nul != 0;
}

std::string NativePath(const std::u16string& path) {
  if (HoldsNul(path)) throw Error(errors::kPathFileAccessError);
  return EncodeUtf8(path);
}

// Closes the descriptor on every way out.
struct DescriptorCloser {
  explicit DescriptorCloser(SystemCalls& system_calls) : calls(system_calls) {}
  ~DescriptorCloser() {
    if (fd >= 0) calls.Close(fd);
  }
  DescriptorCloser(const DescriptorCloser&) = delete;
  DescriptorCloser& operator=(const DescriptorCloser&) = delete;
  SystemCalls& calls;
  int fd = -1;
};

}  // namespace

PosixFileSystem::PosixFileSystem(std::shared_ptr<SystemCalls> calls, std::string temporary_folder)
    : calls_(std::move(calls)), temporary_folder_(std::move(temporary_folder)) {}

void PosixFileSystem::RequireWritable(const std::string& file) {
  const int error = calls_->CheckWritable(file);
  if (IsWriteRefusal(error)) ThrowForErrno(error, MissingPath::kFile);
}

bool PosixFileSystem::IsFolder(const std::string& path) {
  const auto mode = ModeOf(path);
  return mode && S_ISDIR(*mode);
}

bool PosixFileSystem::IsRegularFile(const std::string& path) {
  const auto mode = ModeOf(path);
  return mode && S_ISREG(*mode);
}

std::optional<mode_t> PosixFileSystem::ModeOf(const std::string& path) {
  if (path.empty()) return std::nullopt;
  struct stat status {};
  const int error = calls_->Status(path, status);
  if (error == 0) return status.st_mode;
  if (IsAbsence(error)) return std::nullopt;
  // Denied or failing, the system cannot tell: answering "not there" would let
  // a caller skip a file that is there.
  ThrowForErrno(error, MissingPath::kFile);
}

MissingPath PosixFileSystem::MissingKindFor(const std::string& file) {
  const std::string folder = ParentFolderOf<char>(file);
  return IsFolder(folder.empty() ? "." : folder) ? MissingPath::kFile : MissingPath::kFolder;
}

void PosixFileSystem::ThrowForFile(int os_error, const std::string& file) {
  ThrowForErrno(os_error, os_error == ENOENT ? MissingKindFor(file) : MissingPath::kFile);
}

bool PosixFileSystem::FolderExists(const std::u16string& path) {
  return !HoldsNul(path) && IsFolder(NativePath(path));
}

void PosixFileSystem::CreateFolder(const std::u16string& path) {
  if (const int error = calls_->MakeFolder(NativePath(path))) {
    ThrowForErrno(error, MissingPath::kFolder);
  }
}

bool PosixFileSystem::FileExists(const std::u16string& path) {
  return !HoldsNul(path) && IsRegularFile(NativePath(path));
}

void PosixFileSystem::DeleteFile(const std::u16string& path) {
  const std::string native = NativePath(path);
  // Removing a name only needs the folder's leave; the file's own protection
  // is what the user set to keep it.
  const int access = calls_->CheckWritable(native);
  if (IsWriteRefusal(access)) {
    // A folder is no file of that name, protected or not.
    if (IsFolder(native)) throw Error(errors::kFileNotFound);
    ThrowForErrno(access, MissingPath::kFile);
  }
  if (const int error = calls_->RemoveFile(native)) {
    // Linux refuses to unlink a folder with EISDIR, POSIX allows EPERM.
    if ((error == EISDIR || error == EPERM) && IsFolder(native)) {
      throw Error(errors::kFileNotFound);
    }
    ThrowForFile(error, native);
  }
}

void PosixFileSystem::Deletefolder(const std::u16string& path) {
  const std::string native(WithoutTrailingSeparators(NativePath(path)));
  if (native.empty()) throw Error(errors::kPathNotFound);
  // Never start emptying the root, or a folder named by "." or "..", which
  // could not be removed in the end.
  const std::string name = LastNameOf(native);
  if (name.empty()) throw Error(errors::kPermissionDenied);
  if (name == "." || name == "..") throw Error(errors::kPathFileAccessError);

  struct stat status {};
  if (const int error = calls_->LinkStatus(native, status)) {
    ThrowForErrno(error, MissingPath::kFolder);
  }
  if (S_ISLNK(status.st_mode) && IsFolder(native)) {
    if (const int error = calls_->RemoveFile(native)) ThrowForErrno(error, MissingPath::kFolder);
    return;
  }
  if (!S_ISDIR(status.st_mode)) throw Error(errors::kPathNotFound);
  if (const int error = RemoveFolderTree(*calls_, native)) {
    ThrowForErrno(error, MissingPath::kFolder);
  }
}

void PosixFileSystem::CopyFile(const std::u16string& source, const std::u16string& destination) {
  const std::string from = NativePath(source);
  // Opened first, and tested as opened: a file that is not there, a folder or
  // a pipe is no file to copy. Not waiting keeps a pipe from holding the open up.
  DescriptorCloser input(*calls_);
  if (const int error = calls_->Open(from, O_RDONLY | O_NONBLOCK, 0, input.fd)) {
    if (IsAbsence(error)) throw Error(errors::kFileNotFound);
    ThrowForErrno(error, MissingPath::kFile);
  }
  struct stat status {};
  if (const int error = calls_->FileStatus(input.fd, status)) {
    ThrowForErrno(error, MissingPath::kFile);
  }
  if (!S_ISREG(status.st_mode)) throw Error(errors::kFileNotFound);
  if (destination.empty()) throw Error(errors::kPathNotFound);
  std::string to = NativePath(destination);
  if (EndsWithSeparator(to)) to += LastNameOf(from);

  bool failed_on_source = false;
  // The copy replaces the target by a rename, which its own protection would not stop.
  const ReplaceCheck may_replace = [&] { return ReplaceRefusal(*calls_, to); };
  if (const int error = CopyFileReplacing(*calls_, input.fd, status.st_mode, to, may_replace,
                                          failed_on_source)) {
    if (failed_on_source) ThrowForErrno(error, MissingPath::kFile);
    ThrowForErrno(error, MissingPath::kFolder);  // the new file is made, so only a folder can miss
  }
}

std::u16string PosixFileSystem::GetParentFolderName(const std::u16string& path) {
  return ParentFolderOf<char16_t>(path);
}

std::u16string PosixFileSystem::GetTemporaryFolder() {
  std::string folder = temporary_folder_;
  if (!EndsWithSeparator(folder)) folder += '/';
  return DecodeUtf8(folder);
}

std::u16string PosixFileSystem::CreatePrivateFolder(const std::u16string& parent) {
  std::string path(WithoutTrailingSeparators(NativePath(parent)));
  if (path.empty()) path = parent.empty() ? "." : "/";
  if (!EndsWithSeparator(path)) path += '/';
  path += "run-XXXXXX";
  if (const int error = calls_->MakeUniqueFolder(path)) ThrowForErrno(error, MissingPath::kFolder);
  return DecodeUtf8(path) + u'/';
}

void PosixFileSystem::DeleteEmptyFolder(const std::u16string& path) {
  const std::string native(WithoutTrailingSeparators(NativePath(path)));
  if (native.empty()) throw Error(errors::kPathNotFound);
  if (const int error = calls_->RemoveFolder(native)) ThrowForErrno(error, MissingPath::kFolder);
}

void PosixFileSystem::AppendToFile(const std::u16string& path, std::string_view bytes) {
  const std::string native = NativePath(path);
  int fd = -1;
  off_t length_before = 0;
  // A file made by this open has no length to tell; only one that was there
  // must be asked for it. With O_CREAT only a missing folder can make the path
  // not found.
  int error = calls_->Open(native, O_WRONLY | O_CREAT | O_EXCL | O_APPEND, 0666, fd);
  if (error == EEXIST) {
    if ((error = calls_->Open(native, O_WRONLY | O_CREAT | O_APPEND, 0666, fd)) == 0) {
      struct stat before {};
      if (const int status_error = calls_->FileStatus(fd, before)) {
        calls_->Close(fd);
        ThrowForErrno(status_error, MissingPath::kFile);
      }
      length_before = before.st_size;
    }
  }
  if (error != 0) ThrowForErrno(error, MissingPath::kFolder);
  WriteAndClose(fd, bytes, length_before);
}

void PosixFileSystem::ReplaceWithNewFile(const std::u16string& path, std::string_view bytes) {
  const std::string native = NativePath(path);
  int fd = -1;
  const int error = calls_->Open(native, O_WRONLY | O_CREAT | O_EXCL, 0666, fd);
  // Something of that name: the steps one by one, with their errors.
  if (error == EEXIST) return FileSystem::ReplaceWithNewFile(path, bytes);
  if (error != 0) ThrowForErrno(error, MissingPath::kFolder);
  WriteAndClose(fd, bytes, 0);
}

void PosixFileSystem::WriteAndClose(int fd, std::string_view bytes, off_t length_before) {
  if (const int error = WriteAll(*calls_, fd, bytes.data(), bytes.size())) {
    // Take back whatever part of the bytes did get written.
    calls_->Truncate(fd, length_before);
    calls_->Close(fd);
    ThrowForErrno(error, MissingPath::kFile);
  }
  if (const int error = calls_->Close(fd)) ThrowForErrno(error, MissingPath::kFile);
}

std::string PosixFileSystem::ReadFileBytes(const std::u16string& path) {
  const std::string native = NativePath(path);
  // A folder is no file of that name.
  if (IsFolder(native)) throw Error(errors::kFileNotFound);
  int fd = -1;
  if (const int error = calls_->Open(native, O_RDONLY, 0, fd)) ThrowForFile(error, native);
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t count = 0;
    if (const int error = calls_->Read(fd, buffer, sizeof buffer, count)) {
      calls_->Close(fd);
      ThrowForErrno(error, MissingPath::kFile);
    }
    if (count == 0) break;
    bytes.append(buffer, count);
  }
  calls_->Close(fd);
  return bytes;
}

std::string TemporaryFolderOf(const EnvironmentReader& environment) {
  // A relative TMPDIR would depend on the working directory of the moment.
  if (std::string folder = ValueOf(environment, "TMPDIR"); folder.starts_with('/')) return folder;
  return "/tmp";
}

PosixFileSystemFactory::PosixFileSystemFactory(std::shared_ptr<SystemCalls> calls,
                                               std::string temporary_folder)
    : calls_(std::move(calls)), temporary_folder_(std::move(temporary_folder)) {}

std::unique_ptr<FileSystem> PosixFileSystemFactory::CreateFileSystem() {
  return std::make_unique<PosixFileSystem>(calls_, temporary_folder_);
}

}  // namespace orvane::posix
