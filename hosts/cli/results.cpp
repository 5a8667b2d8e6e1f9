#include "hosts/cli/results.h"

namespace orvane::cli {

ProgressEvent LastProgress(const std::vector<ExportEvent>& events) {
  for (auto event = events.rbegin(); event != events.rend(); ++event) {
    if (const auto* progress = std::get_if<ProgressEvent>(&*event)) return *progress;
  }
  return {};
}

std::u16string LogFileOf(const std::vector<ExportEvent>& events) {
  for (auto event = events.rbegin(); event != events.rend(); ++event) {
    if (const auto* done = std::get_if<DoneEvent>(&*event)) return done->log_file;
  }
  return {};
}

}  // namespace orvane::cli
