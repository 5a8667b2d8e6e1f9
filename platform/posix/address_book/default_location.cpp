#include "platform/posix/address_book/default_location.h"

#include "platform/posix/data_file_location.h"

namespace orvane::posix {

std::string DefaultAddressBookFile(const EnvironmentReader& environment) {
  return DataFileLocation(environment, {"ORVANE_ADDRESS_BOOK", "address-book.json"});
}

}  // namespace orvane::posix
