#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/posix/environment.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/system_calls.h"

namespace orvane::posix {

// The file-system object on POSIX: paths are "/"-separated UTF-16 text, handed
// to the operating system as UTF-8. Failures throw orvane::Error with the number
// ErrorNumberFromErrno gives.
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(std::shared_ptr<SystemCalls> calls = std::make_shared<SystemCalls>(),
                           std::string temporary_folder = "/tmp");

  // Both tests throw when the system cannot tell, rather than answer false.
  bool FolderExists(const std::u16string& path) override;
  // Missing parent: 76; anything already of that name: 58.
  void CreateFolder(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
  // Missing file: 53 (76 when its folder is missing too); a file the user
  // may not write: 70.
  void DeleteFile(const std::u16string& path) override;
  // Missing folder: 76. A link to a folder is removed, not what it points to.
  void Deletefolder(const std::u16string& path) override;
  // Missing source: 53. A failed copy leaves the old target in place; a
  // target the user may not write is not replaced (70).
  void CopyFile(const std::u16string& source, const std::u16string& destination) override;
  std::u16string GetParentFolderName(const std::u16string& path) override;
  std::u16string GetTemporaryFolder() override;
  // Mode 0700, named "run-" and six random characters.
  std::u16string CreatePrivateFolder(const std::u16string& parent) override;
  void DeleteEmptyFolder(const std::u16string& path) override;
  // A failed append leaves the file as long as it was before.
  void AppendToFile(const std::u16string& path, std::string_view bytes) override;
  // Where nothing is of that name, the new file is made and written at once.
  void ReplaceWithNewFile(const std::u16string& path, std::string_view bytes) override;
  // Missing file, or a folder of that name: 53 (76 when its folder is missing).
  std::string ReadFileBytes(const std::u16string& path) override;

 private:
  // Throw when the system cannot tell (a denied search, an I/O error).
  bool IsFolder(const std::string& path);
  bool IsRegularFile(const std::string& path);
  // Nothing when no such path exists.
  std::optional<mode_t> ModeOf(const std::string& path);
  // A file that is not there is missing itself when its folder exists.
  MissingPath MissingKindFor(const std::string& file);
  [[noreturn]] void ThrowForFile(int os_error, const std::string& file);
  // Throws 70 when the user may not write the file.
  void RequireWritable(const std::string& file);
  // Writes the bytes at the end of the open file and closes it; a failed write
  // leaves the file `length_before` bytes long.
  void WriteAndClose(int fd, std::string_view bytes, off_t length_before);

  std::shared_ptr<SystemCalls> calls_;
  std::string temporary_folder_;
};

// $TMPDIR when it is an absolute path, else "/tmp".
std::string TemporaryFolderOf(const EnvironmentReader& environment);

class PosixFileSystemFactory final : public FileSystemFactory {
 public:
  explicit PosixFileSystemFactory(
      std::shared_ptr<SystemCalls> calls = std::make_shared<SystemCalls>(),
      std::string temporary_folder = "/tmp");
  std::unique_ptr<FileSystem> CreateFileSystem() override;

 private:
  std::shared_ptr<SystemCalls> calls_;
  std::string temporary_folder_;
};

}  // namespace orvane::posix
