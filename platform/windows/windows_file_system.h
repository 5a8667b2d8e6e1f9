#pragma once

#include <memory>

#include "platform/file_system.h"
#include "platform/windows/com_support.h"

namespace orvane::windows {

// The scripting file-system object, created by its ProgID and called late-bound.
class WindowsFileSystem final : public FileSystem {
 public:
  // Throws error 429 when the object cannot be created.
  WindowsFileSystem();

  bool FolderExists(const std::u16string& path) override;
  void CreateFolder(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
  void DeleteFile(const std::u16string& path) override;
  void Deletefolder(const std::u16string& path) override;
  void CopyFile(const std::u16string& source, const std::u16string& destination) override;
  std::u16string GetParentFolderName(const std::u16string& path) override;
  std::u16string GetTemporaryFolder() override;
  std::u16string CreatePrivateFolder(const std::u16string& parent) override;
  void DeleteEmptyFolder(const std::u16string& path) override;
  void AppendToFile(const std::u16string& path, std::string_view bytes) override;
  std::string ReadFileBytes(const std::u16string& path) override;

 private:
  ComPtr<IDispatch> object_;
};

class WindowsFileSystemFactory final : public FileSystemFactory {
 public:
  std::unique_ptr<FileSystem> CreateFileSystem() override;
};

}  // namespace orvane::windows
