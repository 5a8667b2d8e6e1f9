#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane::cli {

enum class CommandName { kCount, kList, kItem, kExportItem, kExport };

// "count", "list", "item", "export-item", "export"; nothing for any other word.
std::optional<CommandName> CommandFromText(std::string_view text);
std::string_view CommandText(CommandName command);

// One run of the program as the command line asks for it. Paths are kept as
// typed; the caller resolves them against the current directory.
struct Request {
  CommandName command = CommandName::kCount;
  int16_t type = 0;
  int16_t index = 0;        // item, export-item
  std::string filename;     // export-item; empty when omitted
  std::string destination;  // export; empty when omitted
  std::string name;         // export --name; empty: the type's own stem
  std::string log_name;     // export --log; empty: no log
  std::string log_dir;      // export --log-dir; empty: the current directory
  bool combine = false;     // export --combine
  bool json = false;
  std::string address_book;  // --address-book; empty: the default rules
  std::string mail_store;    // --mail-store; empty: the default rules
  // --code-page; nothing: the one the locale gives
  std::optional<uint32_t> code_page;

  friend bool operator==(const Request&, const Request&) = default;
};

struct HelpRequest {
  std::optional<CommandName> command;  // nothing: the general help
  friend bool operator==(const HelpRequest&, const HelpRequest&) = default;
};

struct VersionRequest {
  friend bool operator==(const VersionRequest&, const VersionRequest&) = default;
};

struct UsageError {
  std::string message;
  std::optional<CommandName> command;  // whose usage to show; nothing: the general one
  friend bool operator==(const UsageError&, const UsageError&) = default;
};

using ParsedArguments = std::variant<Request, HelpRequest, VersionRequest, UsageError>;

// Reads the arguments after the program name. Options may stand before or
// after the command and its operands; "--" ends the options; "--opt=value"
// and "--opt value" are the same. A negative number is an operand, not an option,
// whether or not it fits in 16 bits.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace orvane::cli
