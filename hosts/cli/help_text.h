#pragma once

#include <optional>
#include <string>

#include "hosts/cli/arguments.h"

namespace orvane::cli {

// "orvane --help": everything the program does.
std::string GeneralHelp();
// "orvane COMMAND --help".
std::string CommandHelp(CommandName command);
// The short text after a usage error: the command's synopsis (or all of them)
// and where to read more.
std::string ShortUsage(std::optional<CommandName> command);

}  // namespace orvane::cli
