#include "hosts/cli/results.h"

#include <algorithm>

namespace orvane::cli {

RunTally TallyOf(const std::vector<ExportEvent>& events) {
  RunTally tally;
  ProgressEvent last;
  for (const ExportEvent& event : events) {
    const auto* progress = std::get_if<ProgressEvent>(&event);
    if (progress == nullptr) continue;
    if (progress->current == last.current + 1) ++tally.handled;
    last = *progress;
  }
  tally.total = tally.handled + std::max(0, last.total - last.current);
  return tally;
}

std::u16string LogFileOf(const std::vector<ExportEvent>& events) {
  for (auto event = events.rbegin(); event != events.rend(); ++event) {
    if (const auto* done = std::get_if<DoneEvent>(&*event)) return done->log_file;
  }
  return {};
}

}  // namespace orvane::cli
