#include "hosts/cli/arguments.h"

#include <array>
#include <charconv>

#include "hosts/cli/export_type_names.h"

namespace orvane::cli {
namespace {

struct NamedCommand {
  std::string_view text;
  CommandName command;
  bool takes_index;      // INDEX follows TYPE
  size_t most_operands;  // the TYPE included
};

constexpr std::array kCommands = {
    NamedCommand{"count", CommandName::kCount, false, 1},
    NamedCommand{"list", CommandName::kList, false, 1},
    NamedCommand{"item", CommandName::kItem, true, 2},
    NamedCommand{"export-item", CommandName::kExportItem, true, 3},
    NamedCommand{"export", CommandName::kExport, false, 2},
};

enum class OptionId {
  kAddressBook,
  kMailStore,
  kCodePage,
  kJson,
  kHelp,
  kVersion,
  kName,
  kLog,
  kLogDir,
  kCombine
};

struct OptionSpec {
  std::string_view name;
  OptionId id;
  bool takes_value;
  bool export_only;
};

constexpr std::array kOptions = {
    OptionSpec{"--address-book", OptionId::kAddressBook, true, false},
    OptionSpec{"--mail-store", OptionId::kMailStore, true, false},
    OptionSpec{"--code-page", OptionId::kCodePage, true, false},
    OptionSpec{"--json", OptionId::kJson, false, false},
    OptionSpec{"--help", OptionId::kHelp, false, false},
    OptionSpec{"-h", OptionId::kHelp, false, false},
    OptionSpec{"--version", OptionId::kVersion, false, false},
    OptionSpec{"--name", OptionId::kName, true, true},
    OptionSpec{"--log", OptionId::kLog, true, true},
    OptionSpec{"--log-dir", OptionId::kLogDir, true, true},
    OptionSpec{"--combine", OptionId::kCombine, false, true},
};

const NamedCommand* FindCommand(std::string_view text) {
  for (const NamedCommand& named : kCommands) {
    if (named.text == text) return &named;
  }
  return nullptr;
}

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// Everything the words of the command line said, before it is checked.
struct Words {
  std::vector<std::string> operands;  // the command first
  std::vector<std::pair<const OptionSpec*, std::string>> options;
  bool help = false;
  bool version = false;
};

// "-" alone (standard input, or a file of that name) and negative numbers of any
// size are operands, so that every number meets the same checks.
bool LooksLikeOption(const std::string& word) {
  return word.size() > 1 && word[0] == '-' &&
         word.find_first_not_of("0123456789", 1) != std::string::npos;
}

// Reads one option word (and its value, which may be the next word).
std::optional<UsageError> ReadOption(const std::vector<std::string>& arguments, size_t& i,
                                     Words& words) {
  const std::string& word = arguments[i];
  const size_t equals = word.find('=');
  const std::string name = word.substr(0, equals);
  const OptionSpec* option = FindOption(name);
  if (option == nullptr) return UsageError{"unknown option '" + name + "'", std::nullopt};
  std::string value;
  if (equals != std::string::npos) {
    if (!option->takes_value) return UsageError{name + " takes no value", std::nullopt};
    value = word.substr(equals + 1);
  } else if (option->takes_value) {
    if (i + 1 >= arguments.size()) return UsageError{name + " needs a value", std::nullopt};
    value = arguments[++i];
  }
  if (option->id == OptionId::kHelp) words.help = true;
  if (option->id == OptionId::kVersion) words.version = true;
  words.options.emplace_back(option, std::move(value));
  return std::nullopt;
}

std::variant<Words, UsageError> SplitWords(const std::vector<std::string>& arguments) {
  Words words;
  bool options_ended = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (!options_ended && word == "--") {
      options_ended = true;
    } else if (!options_ended && LooksLikeOption(word)) {
      if (auto error = ReadOption(arguments, i, words)) return *error;
    } else {
      words.operands.push_back(word);
    }
  }
  return words;
}

std::optional<UsageError> ApplyOption(const OptionSpec& option, const std::string& value,
                                      Request& request) {
  if (option.export_only && request.command != CommandName::kExport) {
    return UsageError{std::string(option.name) + " is an option of export only", request.command};
  }
  switch (option.id) {
    case OptionId::kAddressBook:
      request.address_book = value;
      break;
    case OptionId::kMailStore:
      request.mail_store = value;
      break;
    case OptionId::kCodePage: {
      uint32_t number = 0;
      const char* end = value.data() + value.size();
      const auto [stop, failure] = std::from_chars(value.data(), end, number);
      if (value.empty() || failure != std::errc{} || stop != end) {
        return UsageError{"'" + value + "' is no code page: use a number such as 950 or 1252",
                          request.command};
      }
      request.code_page = number;
      break;
    }
    case OptionId::kJson:
      request.json = true;
      break;
    case OptionId::kName:
      request.name = value;
      break;
    case OptionId::kLog:
      request.log_name = value;
      break;
    case OptionId::kLogDir:
      request.log_dir = value;
      break;
    case OptionId::kCombine:
      request.combine = true;
      break;
    case OptionId::kHelp:
    case OptionId::kVersion:
      break;
  }
  return std::nullopt;
}

UsageError BadType(const std::string& word, CommandName command) {
  return UsageError{"'" + word +
                        "' is no export type: use 1 (outlook-contacts), 2 (outlook-calendar) "
                        "or 3 (address-book)",
                    command};
}

UsageError BadIndex(const std::string& word, CommandName command) {
  return UsageError{"'" + word + "' is no item index: use a whole number; items count from 1",
                    command};
}

UsageError TooFewArguments(CommandName command) { return UsageError{"too few arguments", command}; }

// The operand at `position` (the command is at 0); nothing past the last one.
const std::string* OperandAt(const std::vector<std::string>& operands, size_t position) {
  return position < operands.size() ? &operands[position] : nullptr;
}

// The operands after the command: TYPE, then INDEX and FILENAME or DESTINATION.
std::optional<UsageError> ReadOperands(const std::vector<std::string>& operands,
                                       const NamedCommand& named, Request& request) {
  const std::string* type_word = OperandAt(operands, 1);
  if (type_word == nullptr) return TooFewArguments(named.command);
  const std::optional<int16_t> type = ExportTypeFromText(*type_word);
  if (!type) return BadType(*type_word, named.command);
  request.type = *type;
  size_t next = 2;
  if (named.takes_index) {
    const std::string* index_word = OperandAt(operands, next++);
    if (index_word == nullptr) return TooFewArguments(named.command);
    const std::optional<int16_t> index = SmallIntegerFromText(*index_word);
    if (!index) return BadIndex(*index_word, named.command);
    request.index = *index;
  }
  if (const std::string* path = OperandAt(operands, next)) {
    (named.command == CommandName::kExport ? request.destination : request.filename) = *path;
  }
  return std::nullopt;
}

ParsedArguments BuildRequest(const Words& words) {
  const NamedCommand* named = FindCommand(words.operands[0]);
  if (named == nullptr)
    return UsageError{"unknown command '" + words.operands[0] + "'", std::nullopt};
  Request request;
  request.command = named->command;
  if (words.operands.size() - 1 > named->most_operands) {
    return UsageError{"unexpected argument '" + words.operands[named->most_operands + 1] + "'",
                      named->command};
  }
  for (const auto& [option, value] : words.options) {
    if (auto error = ApplyOption(*option, value, request)) return *error;
  }
  if (auto error = ReadOperands(words.operands, *named, request)) return *error;
  return request;
}

// "orvane help [COMMAND]" and "--help" anywhere ask for the same texts.
HelpRequest HelpFor(const std::vector<std::string>& operands) {
  size_t first = !operands.empty() && operands[0] == "help" ? 1 : 0;
  if (first >= operands.size()) return HelpRequest{};
  return HelpRequest{CommandFromText(operands[first])};
}

}  // namespace

std::optional<CommandName> CommandFromText(std::string_view text) {
  const NamedCommand* named = FindCommand(text);
  if (named == nullptr) return std::nullopt;
  return named->command;
}

std::string_view CommandText(CommandName command) {
  for (const NamedCommand& named : kCommands) {
    if (named.command == command) return named.text;
  }
  return {};
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  std::variant<Words, UsageError> split = SplitWords(arguments);
  if (auto* error = std::get_if<UsageError>(&split)) return *error;
  const Words& words = std::get<Words>(split);
  if (words.help || (!words.operands.empty() && words.operands[0] == "help")) {
    return HelpFor(words.operands);
  }
  if (words.version) return VersionRequest{};
  if (words.operands.empty()) return UsageError{"no command given", std::nullopt};
  return BuildRequest(words);
}

}  // namespace orvane::cli
