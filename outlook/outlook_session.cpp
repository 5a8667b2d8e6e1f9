#include "outlook/outlook_session.h"

#include "component/call_result.h"
#include "component/messages.h"

namespace orvane {

void OpenOutlook(CallContext& context) {
  SharedState& state = context.state;
  const std::optional<Error> failure = Attempt([&] {
    state.OutlookApp = context.platform.outlook->CreateApplication();
    state.OutlookNamespace = state.OutlookApp->GetNamespace(u"MAPI");
    state.OutlookNamespace->Logon(true, true);
  });
  if (!failure) return;
  const std::u16string text = context.Message(msg::kUnableToUseOutlook);
  context.platform.message_box->Show(text, MessageBoxKind::kInformation);
  state.LogText += text;
  throw Error(errors::kObjectNotSet);
}

}  // namespace orvane
