#include "platform/posix/folder_tree.h"

#include <cerrno>
#include <vector>

namespace orvane::posix {
namespace {

int RemoveEntry(SystemCalls& calls, const std::string& path) {
  struct stat status {};
  if (const int error = calls.LinkStatus(path, status)) {
    return error == ENOENT ? 0 : error;  // already gone: nothing left to do
  }
  if (S_ISDIR(status.st_mode)) return RemoveFolderTree(calls, path);
  const int error = calls.RemoveFile(path);
  return error == ENOENT ? 0 : error;
}

}  // namespace

int RemoveFolderTree(SystemCalls& calls, const std::string& folder) {
  std::vector<std::string> names;
  if (const int error = calls.ListFolder(folder, names)) return error;
  for (const std::string& name : names) {
    if (const int error = RemoveEntry(calls, folder + "/" + name)) return error;
  }
  return calls.RemoveFolder(folder);
}

}  // namespace orvane::posix
