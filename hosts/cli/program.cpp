#include "hosts/cli/program.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>

#include "component/export_type.h"
#include "component/module.h"
#include "component/orvane2.h"
#include "hosts/assembly/standard_sources.h"
#include "hosts/cli/code_page_choice.h"
#include "hosts/cli/commands.h"
#include "hosts/cli/help_text.h"
#include "hosts/cli/interrupt.h"
#include "hosts/cli/json_output.h"
#include "hosts/cli/paths.h"
#include "hosts/cli/text_output.h"
#include "hosts/cli/utf8.h"
#include "platform/error.h"
#include "platform/message_loop.h"
#include "platform/posix/mail_store/mail_store_object_model.h"
#include "platform/posix/posix_platform.h"

namespace orvane::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageFailure = 2;
constexpr auto kLongestTestPause = std::chrono::minutes(1);

int ReportUsageError(const UsageError& error, std::ostream& err) {
  err << "orvane: " << error.message << "\n" << ShortUsage(error.command);
  return kUsageFailure;
}

size_t TerminalColumns() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

// Progress on a terminal: for every export, and for a listing that takes long
// enough to be worth watching.
std::unique_ptr<ProgressBar> ProgressBarIfTerminal(CommandName command, std::ostream& err) {
  using std::chrono::milliseconds;
  if (::isatty(STDERR_FILENO) == 0) return nullptr;
  if (command != CommandName::kExport && command != CommandName::kList) return nullptr;
  const milliseconds first_draw_after(command == CommandName::kList ? 500 : 0);
  return std::make_unique<ProgressBar>(
      err, TerminalColumns, [] { return std::chrono::steady_clock::now(); }, milliseconds(50),
      first_draw_after);
}

// The export's arguments with paths made absolute, or why they cannot be used.
std::variant<ExportArguments, UsageError> FormExportArguments(const Request& request,
                                                              const std::string& here) {
  const auto usage = [](std::string message) {
    return UsageError{std::move(message), CommandName::kExport};
  };
  if (request.name.find('/') != std::string::npos)
    return usage("--name takes a file name stem, without \"/\"");
  if (request.log_name.empty() && !request.log_dir.empty())
    return usage("--log-dir needs --log NAME");
  ExportArguments arguments;
  arguments.type = request.type;
  arguments.mode = request.combine ? 1 : 0;
  arguments.name = request.name;
  arguments.destination =
      request.destination.empty() ? here : AbsolutePath(request.destination, here);
  if (!request.log_name.empty()) {
    const LogLocation log = LocateLog(request.log_name, request.log_dir, here);
    if (log.name.empty() || log.name == "." || log.name == "..")
      return usage("--log needs a file name");
    arguments.log_name = log.name;
    arguments.log_dir = log.folder;
  }
  return arguments;
}

// The files the platform's sources read, by the export types that read them.
std::map<int16_t, SourceFile> SourceFilesOf(const PlatformServices& services) {
  std::map<int16_t, SourceFile> files;
  if (const auto address_book = services.address_book) {
    files[kAddressBookContacts] = {"the address book", "--address-book FILE", "ORVANE_ADDRESS_BOOK",
                                   [address_book] { return address_book->OpenFailureReason(); }};
  }
  if (const auto store = std::dynamic_pointer_cast<posix::MailStoreObjectModel>(services.outlook)) {
    const SourceFile mail_store{"the mail store", "--mail-store FILE", "ORVANE_MAIL_STORE",
                                [store] { return store->OpenFailureReason(); }};
    files[kOutlookContacts] = mail_store;
    files[kOutlookCalendar] = mail_store;
  }
  return files;
}

// Everything one command needs, built from the POSIX platform with the
// program's own message box and yield hook in place.
class Host {
 public:
  Host(const Request& request, std::ostream& err)
      : console_(err, ProgressBarIfTerminal(request.command, err)),
        message_box_(std::make_shared<ConsoleMessageBox>(console_)),
        message_loop_(std::make_shared<HookMessageLoop>()),
        module_(Platform(request), MakeStandardSources()),
        orvane_(module_),
        hook_(HookActions(), PauseAtYieldFrom(std::getenv("ORVANE_TEST_PAUSE_AT_YIELD"))) {
    message_loop_->SetHook([this] { hook_(); });
  }

  Session session() { return Session{orvane_, source_files_, *message_box_, console_}; }
  Console& console() { return console_; }
  bool stop_requested() const { return hook_.stop_requested(); }

 private:
  PlatformServices Platform(const Request& request) {
    PlatformServices services = posix::MakePosixPlatform(
        posix::PosixOptions{request.address_book, request.mail_store, request.code_page});
    services.message_box = message_box_;
    services.message_loop = message_loop_;
    source_files_ = SourceFilesOf(services);
    return services;
  }

  YieldHook::Actions HookActions() {
    return YieldHook::Actions{InterruptCount, [this] { orvane_.ExportBreak(); }, StopNotice,
                              [this](const std::string& line) { console_.Say(line); },
                              [](int seen) { WaitForInterrupt(seen, kLongestTestPause); }};
  }

  Console console_;
  std::shared_ptr<ConsoleMessageBox> message_box_;
  std::shared_ptr<HookMessageLoop> message_loop_;
  std::map<int16_t, SourceFile> source_files_;
  Module module_;
  Orvane2 orvane_;
  YieldHook hook_;
};

// Prints the command's output and its failure; returns the exit status.
template <typename Result>
int Conclude(const Request& request, const Result& result, const CallReport& report,
             std::ostream& out, Console& console, Json (*to_json)(const Result&, const CallReport&),
             std::string (*to_text)(const Result&, const CallReport&)) {
  out << (request.json ? JsonLine(to_json(result, report)) : to_text(result, report)) << std::flush;
  if (report.failure) {
    for (const std::string& line : FailureLines(*report.failure)) console.Say(line);
    return kFailure;
  }
  // A script must not take a result it never received for success.
  if (!out) {
    console.Say("error: standard output could not be written");
    return kFailure;
  }
  return kSuccess;
}

int RunExportCommand(const Request& request, Host& host, const std::string& here, std::ostream& out,
                     std::ostream& err) {
  auto formed = FormExportArguments(request, here);
  if (auto* error = std::get_if<UsageError>(&formed)) return ReportUsageError(*error, err);
  InstallInterruptHandler();
  Session session = host.session();
  CallReport report;
  const ExportResult run = RunExport(
      session, std::get<ExportArguments>(formed), [&host] { return host.stop_requested(); },
      report);
  return Conclude(request, run, report, out, host.console(), ExportJson, ExportText);
}

int RunRequest(const Request& request, std::ostream& out, std::ostream& err) {
  if (request.code_page) {
    if (auto problem = CodePageProblem(*request.code_page))
      return ReportUsageError(UsageError{*problem, request.command}, err);
  }
  const std::string here = CurrentDirectory();
  Host host(request, err);
  Session session = host.session();
  CallReport report;
  switch (request.command) {
    case CommandName::kCount: {
      const CountResult count = RunCount(session, request.type, report);
      return Conclude(request, count, report, out, host.console(), CountJson, CountText);
    }
    case CommandName::kList: {
      InstallInterruptHandler();
      const ListResult list =
          RunList(session, request.type, [] { return InterruptCount() > 0; }, report);
      return Conclude(request, list, report, out, host.console(), ListJson, ListText);
    }
    case CommandName::kItem: {
      const ItemResult item = RunItem(session, request.type, request.index, report);
      return Conclude(request, item, report, out, host.console(), ItemJson, ItemText);
    }
    case CommandName::kExportItem: {
      // Without a FILENAME the current directory is the folder (its trailing "/" says so).
      const std::string filename =
          AbsolutePath(request.filename.empty() ? "." : request.filename, here);
      const ExportItemResult item =
          RunExportItem(session, request.type, request.index, filename, report);
      return Conclude(request, item, report, out, host.console(), ExportItemJson, ExportItemText);
    }
    case CommandName::kExport:
      return RunExportCommand(request, host, here, out, err);
  }
  return kUsageFailure;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(arguments);
  if (const auto* help = std::get_if<HelpRequest>(&parsed)) {
    const uint32_t code_page = LocaleCodePage();
    out << (help->command ? CommandHelp(*help->command, code_page) : GeneralHelp(code_page));
    return kSuccess;
  }
  if (std::holds_alternative<VersionRequest>(parsed)) {
    out << "orvane " << ORVANE_VERSION << "\n";
    return kSuccess;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) return ReportUsageError(*error, err);
  try {
    return RunRequest(std::get<Request>(parsed), out, err);
  } catch (const Error& error) {
    err << "orvane: error " << error.number() << ": " << Utf8(error.description()) << "\n";
  } catch (const std::exception& error) {
    err << "orvane: error: " << error.what() << "\n";
  }
  return kFailure;
}

}  // namespace orvane::cli
