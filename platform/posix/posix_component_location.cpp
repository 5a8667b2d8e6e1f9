#include "platform/posix/posix_component_location.h"

#include <dlfcn.h>
#include <link.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/posix/path_text.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

std::string AbsolutePath(const char* path) {
  char resolved[PATH_MAX];
  return ::realpath(path, resolved) == nullptr ? std::string() : std::string(resolved);
}

std::string MainProgramPath() { return AbsolutePath("/proc/self/exe"); }

// The name the loader gave the object holding `address`; empty for the main
// program, whose loader entry carries no name.
std::string LoadedObjectName(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
      map == nullptr || map->l_name == nullptr) {
    return {};
  }
  return map->l_name;
}

}  // namespace

std::string BinaryPathOf(const void* address) {
  const std::string name = LoadedObjectName(address);
  if (name.empty()) return MainProgramPath();
  const std::string path = AbsolutePath(name.c_str());
  return path.empty() ? MainProgramPath() : path;
}

namespace {
std::string FolderOfThisLibrary() {
  static const int kMarker = 0;  // any object of this library marks where it was loaded from
  return ParentFolderOf<char>(BinaryPathOf(&kMarker));
}
}  // namespace

PosixComponentLocation::PosixComponentLocation()
    : PosixComponentLocation(ORVANE_INSTALLED_PROGRAM_FOLDER) {}

std::u16string PosixComponentLocation::ComponentFolder() {
  return DecodeUtf8(FolderOfThisLibrary());
}

bool PosixComponentLocation::InSystemProgramFolder() {
  const std::string installed = AbsolutePath(installed_folder_.c_str());
  return !installed.empty() && installed == FolderOfThisLibrary();
}

}  // namespace orvane::posix
