#include "hosts/cli/text_output.h"

#include <algorithm>

#include "hosts/cli/export_type_names.h"
#include "hosts/cli/iso_time.h"
#include "hosts/cli/terminal_text.h"
#include "platform/error.h"

namespace orvane::cli {
namespace {

constexpr size_t kIsoTimeWidth = 19;  // "2005-03-01T12:00:00"

std::string ModifiedText(AutomationDate date) {
  if (date == 0) return "none";
  if (const auto iso = IsoTextOf(date)) return *iso;
  return "none (" + std::to_string(date) + " is no date)";
}

std::string ErrorText(int32_t result) {
  return "error " + std::to_string(result) + ": " + OneLineText(DescriptionOf(result));
}

}  // namespace

std::string Items(int count) { return std::to_string(count) + (count == 1 ? " item" : " items"); }

std::string CountText(const CountResult& count, const CallReport& report) {
  if (report.failure || count.result < 0) return {};
  return std::to_string(count.result) + "\n";
}

// "  7  2005-03-01T12:00:00  Ada Lovelace": the index right-aligned to the
// widest, the time in its own column and the title last, where its width
// cannot move anything.
std::string ListText(const ListResult& list, const CallReport&) {
  const size_t index_width = std::to_string(list.count).size();
  std::string text;
  for (const ListedItem& item : list.items) {
    const std::string index = std::to_string(item.index);
    text += std::string(index_width - std::min(index_width, index.size()), ' ') + index + "  ";
    if (item.values.result != 0) {
      text += ErrorText(item.values.result) + "\n";
      continue;
    }
    std::string modified = ModifiedText(item.values.modify_time);
    modified.resize(std::max(modified.size(), kIsoTimeWidth), ' ');
    text += modified + "  " + OneLineText(item.values.title) + "\n";
  }
  return text;
}

std::string ItemText(const ItemResult& item, const CallReport& report) {
  // For a type without a source the values are only what was passed in.
  if (report.failure || item.values.result != 0 || !IsKnownExportType(item.type)) return {};
  return "title: " + OneLineText(item.values.title) +
         "\nmodified: " + ModifiedText(item.values.modify_time) + "\n";
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
