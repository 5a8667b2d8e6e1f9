#include "platform/posix/data_file_location.h"

namespace orvane::posix {
namespace {

// "folder" + "/" + "name", with no doubled "/" when the folder ends in one.
std::string JoinPath(std::string folder, const std::string& name) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder += '/';
  return folder + name;
}

}  // namespace

std::string DataFileLocation(const EnvironmentReader& environment, const DataFile& file) {
  if (std::string chosen = ValueOf(environment, file.variable); !chosen.empty()) return chosen;
  const std::string in_data_folder = std::string("orvane/") + file.file_name;
  if (const std::string data = ValueOf(environment, "XDG_DATA_HOME"); data.starts_with('/')) {
    return JoinPath(data, in_data_folder);
  }
  if (const std::string home = ValueOf(environment, "HOME"); !home.empty()) {
    return JoinPath(home, ".local/share/" + in_data_folder);
  }
  return {};
}

}  // namespace orvane::posix
