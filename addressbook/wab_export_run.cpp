#include "addressbook/wab_export_run.h"

#include <string>

#include "component/ascii_text.h"
#include "addressbook/vcard_writer.h"
#include "addressbook/wab_session.h"
#include "component/copy_step.h"
#include "component/file_operations.h"
#include "component/messages.h"

namespace orvane {
namespace {

constexpr char16_t kLineEnd[] = u"\r\n";

// The run ends before its entry list: a notice for the progress text, and the
// notice and the end line for the log.
void EndWithoutEntries(CallContext& context, uint16_t notice) {
  SharedState& state = context.state;
  state.ProgressText = context.Message(notice);
  state.LogText += state.ProgressText + kLineEnd + context.Message(msg::kAddressBookEnd);
}

void EndEntryList(CallContext& context) {
  SharedState& state = context.state;
  if (state.BreakRequested) {
    state.LogText += context.Message(msg::kAddressBookCancel);
    return;
  }
  state.ProgressText = context.Message(msg::kAddressBookFinish);
  state.LogText += context.Message(msg::kExportDataCount) + DecimalText(state.CurrentCount) +
                   kLineEnd + state.ProgressText;
}

class WabContactsRun {
 public:
  explicit WabContactsRun(CallContext& context)
      : context_(context),
        state_(context.state),
        code_page_(*context.platform.code_page),
        combined_file_(state_.TempFolder + state_.ExportFileName + u".vcf") {}

  void ExportEntries(WabSession& session, int32_t n) {
    state_.ProgressText = context_.Message(msg::kContact);
    state_.LogText += state_.ProgressText + kLineEnd;
    const float offset = OperationUtcOffsetHours(context_);
    state_.TotalCount = NarrowWabCount(n);
    context_.RaiseExportEvent(0);
    const int32_t fetched = session.FetchEntries(n);
    if (IsCombined()) DeleteFileIfExists(Files(), combined_file_);
    for (int32_t entry = 1; entry <= fetched; ++entry) {
      if (state_.BreakRequested) break;
      context_.YieldToHost();
      ExportEntry(entry, offset);
    }
    EndEntryList(context_);
  }

 private:
  bool IsCombined() const { return state_.CombineMode == 1; }
  FileSystem& Files() { return *state_.FileSys; }

  void ExportEntry(int32_t entry, float offset) {
    const std::u16string text = BuildWabVCard(context_, entry, offset, 0);
    const std::u16string file =
        state_.TempFolder + state_.ExportFileName + DecimalText(state_.CurrentCount) + u".vcf";
    WriteTextFile(Files(), code_page_, file, text);
    if (IsCombined()) AppendTextToFile(Files(), code_page_, combined_file_, text);
    CopyIntoDestination(context_, file);
    DeleteFileIfExists(Files(), file);
  }

  CallContext& context_;
  SharedState& state_;
  CodePage& code_page_;
  const std::u16string combined_file_;
};

}  // namespace

void ExportWabContacts(CallContext& context) {
  WabSession session(context, WabSession::OnFailedOpen::kLeaveClosed);
  if (!session.IsOpen()) return EndWithoutEntries(context, msg::kNoAddressBook);
  const int32_t n = session.CountEntries();
  if (n <= 0) return EndWithoutEntries(context, msg::kNoContacts);
  WabContactsRun(context).ExportEntries(session, n);
}

}  // namespace orvane
