#include "hosts/cli/commands.h"

#include <memory>

#include "component/export_type.h"
#include "hosts/cli/export_recorder.h"
#include "hosts/cli/export_type_names.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/utf8.h"
#include "platform/error.h"

namespace orvane::cli {
namespace {

Failure ErrorFailure(int32_t number, const std::u16string& description = {}) {
  const std::u16string text = description.empty() ? DescriptionOf(number) : description;
  return Failure{number, OneLineText(text), {}};
}

// The component treats an address book it cannot open as an empty one, and a
// mail store as a mail client it cannot use; the source can tell why, and the
// user needs to know.
std::optional<Failure> SourceProblem(const Session& session, int16_t type) {
  const auto source = session.source_files.find(type);
  if (source == session.source_files.end()) return std::nullopt;
  const SourceFile& file = source->second;
  const std::u16string reason = file.open_failure_reason();
  if (reason.empty()) return std::nullopt;
  return Failure{std::nullopt,
                 "cannot open " + file.what + ": " + OneLineText(reason),
                 {"name another one with " + file.option + " or the " + file.variable +
                  " environment variable"}};
}

// A failed call reports why its source could not be opened, when that is why.
Failure CallFailure(const Session& session, int16_t type, int32_t number,
                    const std::u16string& description = {}) {
  return SourceProblem(session, type).value_or(ErrorFailure(number, description));
}

void NoteUnknownType(Session& session, int16_t type) {
  if (IsKnownExportType(type)) return;
  session.console.Say("note: export type " + std::to_string(type) +
                      " has no source; the component does nothing for it");
}

// For the address book, an empty book is no error to the component: it leaves
// the title as it was and writes nothing. The index is checked against the count
// first, so the user hears that the item does not exist.
std::optional<Failure> CheckAddressBookIndex(Session& session, int16_t type, int16_t index) {
  if (type != kAddressBookContacts) return std::nullopt;
  const int16_t count = session.orvane.itemcount(type);
  if (auto problem = SourceProblem(session, type)) return problem;
  // Too many entries to count: the methods still reach each of the first 32767.
  if (count < 0 || (index >= 1 && index <= count)) return std::nullopt;
  Failure failure = ErrorFailure(errors::kSubscriptOutOfRange);
  failure.hints.push_back("the address book has " + std::to_string(count) +
                          (count == 1 ? " item" : " items") +
                          (count > 0 ? ", numbered from 1" : ""));
  return failure;
}

void Finish(const Session& session, CallReport& report) {
  report.messages = session.message_box.shown();
}

}  // namespace

CountResult RunCount(Session& session, int16_t type, CallReport& report) {
  NoteUnknownType(session, type);
  const CountResult count{type, session.orvane.itemcount(type)};
  report.failure = SourceProblem(session, type);
  if (!report.failure && count.result < 0) {
    report.failure = Failure{std::nullopt, "the items could not be counted", {}};
  }
  Finish(session, report);
  return count;
}

ItemResult RunItem(Session& session, int16_t type, int16_t index, CallReport& report) {
  NoteUnknownType(session, type);
  ItemResult item{type, index, std::nullopt, {}, 0};
  report.failure = CheckAddressBookIndex(session, type, index);
  if (!report.failure) {
    item.result = session.orvane.GetItem(index, type, item.title, item.modify_time);
    if (*item.result != 0) report.failure = CallFailure(session, type, *item.result);
  }
  Finish(session, report);
  return item;
}

ExportItemResult RunExportItem(Session& session, int16_t type, int16_t index,
                               const std::string& filename, CallReport& report) {
  NoteUnknownType(session, type);
  ExportItemResult item{type, index, std::nullopt, Utf16(filename), {}};
  report.failure = CheckAddressBookIndex(session, type, index);
  if (!report.failure) {
    item.result = session.orvane.ExportItem2(index, type, item.filename);
    if (*item.result != 0) {
      report.failure = CallFailure(session, type, *item.result);
    } else if (IsKnownExportType(type)) {
      item.file = item.filename + ExtensionOf(type);
    }
  }
  Finish(session, report);
  return item;
}

ExportResult RunExport(Session& session, const ExportArguments& arguments,
                       const std::function<bool()>& stop_requested, CallReport& report) {
  NoteUnknownType(session, arguments.type);
  const auto recorder = std::make_shared<ExportRecorder>(session.console);
  const uint32_t cookie = session.orvane.Advise(recorder);
  ExportResult run{arguments, 0, {}, false};
  run.result =
      session.orvane.Export2(Utf16(arguments.destination), Utf16(arguments.name), arguments.type,
                             arguments.mode, Utf16(arguments.log_name), Utf16(arguments.log_dir));
  session.orvane.Unadvise(cookie);
  session.console.EndProgress();
  run.events = recorder->events();
  // A failed copy stops the run as Ctrl-C does, but it is an error the user must see.
  run.stopped = stop_requested() || session.message_box.any_critical();
  if (run.result != 0) {
    const auto* done = run.events.empty() ? nullptr : std::get_if<DoneEvent>(&run.events.back());
    report.failure = CallFailure(session, arguments.type, run.result,
                                 done ? done->result : std::u16string());
  } else if (auto problem = SourceProblem(session, arguments.type)) {
    report.failure = problem;
  } else if (session.message_box.any_critical()) {
    report.failure = Failure{std::nullopt, "the export stopped early after the error above", {}};
  }
  Finish(session, report);
  return run;
}

}  // namespace orvane::cli
