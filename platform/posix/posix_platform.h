#pragma once

#include <string>

#include "platform/platform_services.h"

namespace orvane::posix {

struct PosixOptions {
  // The address book to open instead of the default location; empty: the default rules.
  std::string address_book_file;
  // The mail store to open instead of the default location; empty: the default rules.
  std::string mail_store_file;
};

// Every platform service as this POSIX machine provides it.
PlatformServices MakePosixPlatform(const PosixOptions& options = {});

}  // namespace orvane::posix
