#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hosts/cli/arguments.h"

namespace orvane::cli {

// "orvane --help": everything the program does. `locale_code_page` is the code
// page the locale gives now, which --code-page replaces.
std::string GeneralHelp(uint32_t locale_code_page);
// "orvane COMMAND --help".
std::string CommandHelp(CommandName command, uint32_t locale_code_page);
// The short text after a usage error: the command's synopsis (or all of them)
// and where to read more.
std::string ShortUsage(std::optional<CommandName> command);

}  // namespace orvane::cli
