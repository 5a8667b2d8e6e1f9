#include "hosts/cli/text_output.h"

#include "hosts/cli/export_type_names.h"
#include "hosts/cli/iso_time.h"
#include "hosts/cli/terminal_text.h"

namespace orvane::cli {
namespace {

std::string Items(int count) { return std::to_string(count) + (count == 1 ? " item" : " items"); }

std::string ModifiedText(AutomationDate date) {
  if (const auto iso = IsoTextOf(date)) return *iso;
  return "none (" + std::to_string(date) + " is no date)";
}

}  // namespace

std::string CountText(const CountResult& count, const CallReport& report) {
  if (report.failure || count.result < 0) return {};
  return std::to_string(count.result) + "\n";
}

std::string ItemText(const ItemResult& item, const CallReport& report) {
  // For a type without a source the values are only what was passed in.
  if (report.failure || item.result != 0 || !IsKnownExportType(item.type)) return {};
  return "title: " + OneLineText(item.title) + "\nmodified: " + ModifiedText(item.modify_time) +
         "\n";
}

std::string ExportItemText(const ExportItemResult& item, const CallReport& report) {
  if (report.failure || item.result != 0 || item.file.empty()) return {};
  return OneLineText(item.file) + "\n";
}

std::string ExportText(const ExportResult& run, const CallReport&) {
  if (run.result != 0) return {};
  const RunTally tally = TallyOf(run.events);
  std::string summary;
  if (run.stopped) {
    // The item whose copy failed was handled but not written: name no number of files.
    summary = "Stopped after " + std::to_string(tally.handled) + " of " + Items(tally.total) +
              "; the files are in " + run.arguments.destination + "\n";
  } else {
    summary = Items(tally.handled) + " written to " + run.arguments.destination + "\n";
  }
  if (!run.arguments.log_name.empty())
    summary += "Log: " + OneLineText(LogFileOf(run.events)) + "\n";
  return summary;
}

std::vector<std::string> FailureLines(const Failure& failure) {
  std::vector<std::string> lines;
  if (failure.number) {
    std::string line = "error " + std::to_string(*failure.number);
    if (!failure.description.empty()) line += ": " + failure.description;
    lines.push_back(line);
  } else {
    lines.push_back("error: " + failure.description);
  }
  lines.insert(lines.end(), failure.hints.begin(), failure.hints.end());
  return lines;
}

}  // namespace orvane::cli
