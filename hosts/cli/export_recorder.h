#pragma once

#include <vector>

#include "component/export_events.h"
#include "hosts/cli/console.h"
#include "hosts/cli/results.h"

namespace orvane::cli {

// The event sink of an export: keeps every event for the summary and the JSON
// output, and drives the progress bar.
class ExportRecorder final : public ExportEvents {
 public:
  explicit ExportRecorder(Console& console) : console_(console) {}

  void ExportProgress(int16_t TotalCount, int16_t CurrentCount,
                      const std::u16string& Text) override;
  void ExportDone(const std::u16string& Result, const std::u16string& LogFile) override;

  const std::vector<ExportEvent>& events() const { return events_; }

 private:
  Console& console_;
  std::vector<ExportEvent> events_;
};

}  // namespace orvane::cli
