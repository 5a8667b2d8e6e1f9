#include "component/file_operations.h"

namespace orvane {

void DeleteTempFolder(FileSystem& fs, const std::u16string& TempFolder) {
  // A folder that cannot be removed stays; the run has finished either way.
  try {
    if (TempFolder.empty() || !fs.FolderExists(TempFolder)) return;
    fs.Deletefolder(TempFolder.substr(0, TempFolder.size() - 1));
  } catch (...) {
  }
}

void DeleteFileIfExists(FileSystem& fs, const std::u16string& path) {
  if (fs.FileExists(path)) fs.DeleteFile(path);
}

void AppendTextToFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                      const std::u16string& text) {
  std::string bytes = code_page.FromUtf16(text);
  bytes += "\r\n";
  fs.AppendToFile(path, bytes);
}

std::u16string CutAtNul(const std::u16string& text) {
  return text.substr(0, text.find(u'\0'));
}

}  // namespace orvane
