#include "platform/posix/address_book/default_location.h"

namespace orvane::posix {
namespace {

constexpr const char* kAddressBookVariable = "ORVANE_ADDRESS_BOOK";
constexpr const char* kFileInDataFolder = "orvane/address-book.json";

// "folder" + "/" + "name", with no doubled "/" when the folder ends in one.
std::string JoinPath(std::string folder, const std::string& name) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder += '/';
  return folder + name;
}

}  // namespace

std::string DefaultAddressBookFile(const EnvironmentReader& environment) {
  if (std::string chosen = ValueOf(environment, kAddressBookVariable); !chosen.empty()) {
    return chosen;
  }
  if (const std::string data = ValueOf(environment, "XDG_DATA_HOME"); data.starts_with('/')) {
    return JoinPath(data, kFileInDataFolder);
  }
  if (const std::string home = ValueOf(environment, "HOME"); !home.empty()) {
    return JoinPath(home, std::string(".local/share/") + kFileInDataFolder);
  }
  return {};
}

}  // namespace orvane::posix
