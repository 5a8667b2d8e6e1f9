#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// The scripting file-system object: every file and folder operation of the
// component goes through one of these. Failures throw orvane::Error with
// 53, 58, 61, 70, 75 or 76, whichever is nearest to the operating system's reason.
// Paths use the platform's separator ("/" on POSIX, "\" on Windows).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True exactly when a folder of that path exists; a trailing separator is allowed.
  virtual bool FolderExists(const std::u16string& path) = 0;
  // Creates that one folder; its parent is never created on the way.
  virtual void CreateFolder(const std::u16string& path) = 0;
  // True exactly when a file (not a folder) of that path exists.
  virtual bool FileExists(const std::u16string& path) = 0;
  // A file the user may not write is not deleted (70).
  virtual void DeleteFile(const std::u16string& path) = 0;
  // Removes the folder with everything in it.
  virtual void Deletefolder(const std::u16string& path) = 0;
  // Copies the file into `destination`. A destination ending in the separator is
  // a folder: the file lands there under its own name, replacing a file of that
  // name; a file the user may not write is not replaced (70).
  virtual void CopyFile(const std::u16string& source, const std::u16string& destination) = 0;
  // The folder part of the path; empty for a bare file name.
  virtual std::u16string GetParentFolderName(const std::u16string& path) = 0;
  // The platform's folder for temporary files, ending in the separator.
  virtual std::u16string GetTemporaryFolder() = 0;

  // Makes a new folder of an unpredictable name inside `parent`, in one step,
  // that only the current user can use; its path ends in the separator. A run
  // works there, so that nothing another run or user does can reach its files.
  virtual std::u16string CreatePrivateFolder(const std::u16string& parent) = 0;
  // Removes the folder when it is empty; fails otherwise.
  virtual void DeleteEmptyFolder(const std::u16string& path) = 0;

  // Appends bytes at the end of the file, creating it when missing. Not one of
  // the scripting object's operations: the component's own append routine uses
  // it, so that every write can be replaced in tests.
  virtual void AppendToFile(const std::u16string& path, std::string_view bytes) = 0;
  // The file at `path` holding `bytes` alone: FileExists, DeleteFile when it is
  // there, and AppendToFile, with their errors, which a file system may do in
  // fewer steps when nothing is there.
  virtual void ReplaceWithNewFile(const std::u16string& path, std::string_view bytes) {
    if (FileExists(path)) DeleteFile(path);
    AppendToFile(path, bytes);
  }
  // The whole file's bytes, as they stand. Not one of the scripting object's
  // operations either: a run that gathers its items into one file reads each
  // file the mail client saved through it.
  virtual std::string ReadFileBytes(const std::u16string& path) = 0;
};

// Makes a new file-system object; the component asks for one at the start of
// every ExportItem2 and Export2 call.
class FileSystemFactory {
 public:
  virtual ~FileSystemFactory() = default;
  virtual std::unique_ptr<FileSystem> CreateFileSystem() = 0;
};

}  // namespace orvane
