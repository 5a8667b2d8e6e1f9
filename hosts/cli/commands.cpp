#include "hosts/cli/commands.h"

#include <memory>

#include "component/export_type.h"
#include "hosts/cli/export_recorder.h"
#include "hosts/cli/export_type_names.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/text_output.h"
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

// Why itemcount answered -1: the object keeps the error that ended the call.
Failure CountFailure(const Session& session) {
  const std::optional<Error>& why = session.orvane.LastCallError();
  if (!why) return Failure{std::nullopt, "the items could not be counted", {}};
  Failure failure = ErrorFailure(why->number(), why->description());
  if (why->number() == errors::kOverflow) {
    failure.hints.push_back("there are more items than a count can hold (32767); item and "
                            "export-item still reach items 1 to 32767");
  }
  return failure;
}

// An index outside the items: say how many there are, which the component's
// error 9 does not.
void AddIndexHint(Session& session, int16_t type, Failure& failure) {
  if (failure.number != errors::kSubscriptOutOfRange) return;
  const int16_t count = session.orvane.itemcount(type);
  if (count < 0) {
    failure.hints.push_back("items are numbered from 1");
  } else {
    failure.hints.push_back(SourceNoun(type) + " has " + Items(count) +
                            (count > 0 ? ", numbered from 1" : ""));
  }
}

// The failure of an item call that the component answered with `result`. An
// address book that is empty or cannot be opened answers 0 and hands nothing
// back; the user must hear that there was no such item.
std::optional<Failure> ItemCallFailure(Session& session, int16_t type, int32_t result,
                                       bool handed_back) {
  if (result != 0) {
    Failure failure = CallFailure(session, type, result);
    AddIndexHint(session, type, failure);
    return failure;
  }
  if (auto problem = SourceProblem(session, type)) return problem;
  if (handed_back || !IsKnownExportType(type) || session.orvane.itemcount(type) != 0) {
    return std::nullopt;
  }
  return Failure{std::nullopt, SourceNoun(type) + " has no items", {}};
}

ItemValues AskItem(Session& session, int16_t type, int16_t index) {
  ItemValues values;
  values.result = session.orvane.GetItem(index, type, values.title, values.modify_time);
  return values;
}

bool HandedBack(const ItemValues& values) {
  return !values.title.empty() || values.modify_time != 0;
}

void Finish(const Session& session, CallReport& report) {
  report.messages = session.message_box.shown();
}

}  // namespace

CountResult RunCount(Session& session, int16_t type, CallReport& report) {
  NoteUnknownType(session, type);
  const CountResult count{type, session.orvane.itemcount(type)};
  report.failure = SourceProblem(session, type);
  if (!report.failure && count.result < 0) report.failure = CountFailure(session);
  Finish(session, report);
  return count;
}

ListResult RunList(Session& session, int16_t type, const std::function<bool()>& stop_requested,
                   CallReport& report) {
  NoteUnknownType(session, type);
  ListResult list{type, session.orvane.itemcount(type), {}};
  report.failure = SourceProblem(session, type);
  if (!report.failure && list.count < 0) report.failure = CountFailure(session);
  int failed = 0;
  for (int16_t index = 1; !report.failure && index <= list.count; ++index) {
    if (stop_requested()) {
      report.failure = Failure{
          std::nullopt,
          "the listing was stopped after " + std::to_string(index - 1) + " of " + Items(list.count),
          {}};
      break;
    }
    const ItemValues& values = list.items.emplace_back(index, AskItem(session, type, index)).values;
    if (values.result != 0) ++failed;
    session.console.Progress(list.count, index, OneLineText(values.title));
  }
  session.console.EndProgress();
  if (!report.failure && failed > 0) {
    report.failure =
        Failure{std::nullopt,
                std::to_string(failed) + " of " + Items(list.count) + " could not be read",
                {}};
  }
  Finish(session, report);
  return list;
}

ItemResult RunItem(Session& session, int16_t type, int16_t index, CallReport& report) {
  NoteUnknownType(session, type);
  const ItemResult item{type, index, AskItem(session, type, index)};
  report.failure = ItemCallFailure(session, type, item.values.result, HandedBack(item.values));
  Finish(session, report);
  return item;
}

ExportItemResult RunExportItem(Session& session, int16_t type, int16_t index,
                               const std::string& filename, CallReport& report) {
  NoteUnknownType(session, type);
  ExportItemResult item{type, index, 0, Utf16(filename), {}};
  item.result = session.orvane.ExportItem2(index, type, item.filename);
  // An old file of the name may be there already, so the file proves nothing:
  // the count tells whether the component had an item to write.
  report.failure = ItemCallFailure(session, type, item.result, false);
  if (!report.failure && IsKnownExportType(type)) item.file = item.filename + ExtensionOf(type);
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
