#include "component/call_context.h"

#include "component/messages.h"

namespace orvane {

std::u16string CallContext::Message(uint16_t id) const {
  return MessageText(id, platform.language->LanguageId());
}

void CallContext::RaiseExportEvent(int16_t kind, const std::u16string& result) const {
  if (kind == 0 || kind == 1) raise_(kind, result);
}

void CallContext::YieldToHost() const { platform.message_loop->YieldToPendingMessages(); }

std::u16string CallContext::BaseFolder() const {
  std::u16string folder = platform.component_location->ComponentFolder();
  if (folder.empty() || folder.back() != Separator()) folder += Separator();
  return folder;
}

}  // namespace orvane
