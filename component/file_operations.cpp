#include "component/file_operations.h"

#include "platform/error.h"

namespace orvane {

void DeleteTempFolder(FileSystem& fs, const std::u16string& TempFolder) {
  // A folder that cannot be removed stays; the run has finished either way.
  try {
    if (TempFolder.empty() || !fs.FolderExists(TempFolder)) return;
    fs.Deletefolder(TempFolder.substr(0, TempFolder.size() - 1));
  } catch (...) {
  }
}

namespace {
WorkingFolder InTemporaryFolder(FileSystem& fs) {
  return WorkingFolder{fs.CreatePrivateFolder(fs.GetTemporaryFolder()), {}};
}
}  // namespace

WorkingFolder CreateWorkingFolder(FileSystem& fs, const std::u16string& shared_parent) {
  WorkingFolder folder;
  if (shared_parent.empty()) return InTemporaryFolder(fs);
  try {
    if (!fs.FolderExists(shared_parent)) {
      try {
        fs.CreateFolder(shared_parent);
        folder.made_parent = shared_parent;
      } catch (const Error& error) {
        // Another run made it a moment ago: it serves this run as well.
        if (error.number() != errors::kFileAlreadyExists || !fs.FolderExists(shared_parent)) {
          throw;
        }
      }
    }
    folder.path = fs.CreatePrivateFolder(shared_parent);
    return folder;
  } catch (const Error& beside_component) {
    // A component installed where its user cannot write still exports.
    DeleteWorkingFolder(fs, folder);
    try {
      return InTemporaryFolder(fs);
    } catch (const Error&) {
      throw beside_component;
    }
  }
}

void DeleteWorkingFolder(FileSystem& fs, const WorkingFolder& folder) {
  // A second try, which finds nothing to do after a first that worked, keeps one
  // passing failure (a busy file) from leaving the run's files behind.
  DeleteTempFolder(fs, folder.path);
  DeleteTempFolder(fs, folder.path);
  // Other runs may be working in the shared folder; it goes only when empty.
  try {
    if (!folder.made_parent.empty()) fs.DeleteEmptyFolder(folder.made_parent);
  } catch (...) {
  }
}

void DeleteFileIfExists(FileSystem& fs, const std::u16string& path) {
  if (fs.FileExists(path)) fs.DeleteFile(path);
}

namespace {

std::string TextFileBytes(CodePage& code_page, const std::u16string& text) {
  std::string bytes = code_page.FromUtf16(text);
  bytes += "\r\n";
  return bytes;
}

}  // namespace

void AppendTextToFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                      const std::u16string& text) {
  fs.AppendToFile(path, TextFileBytes(code_page, text));
}

void WriteTextFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                   const std::u16string& text) {
  fs.ReplaceWithNewFile(path, TextFileBytes(code_page, text));
}

std::u16string CutAtNul(std::u16string text) {
  if (const size_t nul = text.find(u'\0'); nul != std::u16string::npos) text.resize(nul);
  return text;
}

}  // namespace orvane
