#include "component/run_log.h"

#include "component/file_operations.h"
#include "component/messages.h"

namespace orvane {

std::u16string RunLogHeader(const CallContext& context) {
  Clock& clock = *context.platform.clock;
  // One reading of the clock, so the date and the time cannot straddle midnight.
  const AutomationDate now = clock.Now();
  return u"[" + context.Message(msg::kExportStartingTime) + clock.ShortDateText(now) + u" " +
         clock.LongTimeText(now) + u"]\r\n";
}

void WriteRunLog(const CallContext& context) {
  const SharedState& state = context.state;
  AppendTextToFile(*state.FileSys, *context.platform.code_page,
                   state.LogFilePath + state.LogFileName, state.LogText);
}

}  // namespace orvane
