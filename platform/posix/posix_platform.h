#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform_services.h"

namespace orvane::posix {

struct PosixOptions {
  // The address book to open instead of the default location; empty: the default rules.
  std::string address_book_file;
  // The mail store to open instead of the default location; empty: the default rules.
  std::string mail_store_file;
  // The code page of the files written and of the texts that cross the
  // address-book library; nothing: the one the locale gives.
  std::optional<uint32_t> code_page;
};

// Every platform service as this POSIX machine provides it.
PlatformServices MakePosixPlatform(const PosixOptions& options = {});

}  // namespace orvane::posix
