#include "hosts/cli/export_recorder.h"

#include "hosts/cli/terminal_text.h"

namespace orvane::cli {

void ExportRecorder::ExportProgress(int16_t TotalCount, int16_t CurrentCount,
                                    const std::u16string& Text) {
  events_.push_back(ProgressEvent{TotalCount, CurrentCount, Text});
  console_.Progress(TotalCount, CurrentCount, OneLineText(Text));
}

void ExportRecorder::ExportDone(const std::u16string& Result, const std::u16string& LogFile) {
  events_.push_back(DoneEvent{Result, LogFile});
  console_.EndProgress();
}

}  // namespace orvane::cli
