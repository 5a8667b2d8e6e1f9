#include "outlook/outlook_contacts_run.h"

#include <memory>
#include <string>

#include "component/ascii_text.h"
#include "component/export_type.h"
#include "component/messages.h"
#include "outlook/outlook_objects.h"
#include "outlook/saved_file_delivery.h"

namespace orvane {
namespace {

constexpr char16_t kLineEnd[] = u"\r\n";
constexpr char16_t kContactsFolderClass[] = u"IPM.Contact";

class ContactsRun {
 public:
  explicit ContactsRun(CallContext& context)
      : context_(context), state_(context.state), delivery_(context, kOutlookContacts) {}

  void Run() {
    delivery_.Begin();
    const std::shared_ptr<OutlookFolder> folder = DefaultFolder(context_, outlook::kFolderContacts);
    ExportContactFolder(*folder);
    state_.ProgressText = context_.Message(state_.BreakRequested ? msg::kAddressBookCancel
                                                                 : msg::kAddressBookFinish);
    state_.LogText += context_.Message(msg::kExportDataCount) + DecimalText(exported_) +
                      kLineEnd + state_.ProgressText;
  }

 private:
  void ExportContactFolder(OutlookFolder& folder) {
    ExportSubfolders(folder);
    // The comparison is exact: a folder of another kind is walked for its subfolders only.
    if (folder.DefaultMessageClass() != kContactsFolderClass) return;
    const std::u16string name = folder.Name();
    state_.ProgressText = name;
    const std::shared_ptr<OutlookItems> items = Required(folder.Items());
    const int32_t count = items->Count();
    if (count == 0) return;
    state_.LogText += context_.Message(msg::kFolder) + name + kLineEnd +
                      context_.Message(msg::kName) + kLineEnd;
    state_.TotalCount = NarrowOutlookCount(count);
    state_.CurrentCount = 0;
    context_.RaiseExportEvent(0);

    const auto members = Required(items->Enumerate());
    for (auto item = members->Next(); item && !state_.BreakRequested; item = members->Next()) {
      context_.YieldToHost();
      if (ItemClass(*item) == outlook::kClassContact) {
        ExportContact(*item);
      } else {
        // A distribution list or any other item is not exported and leaves the total.
        state_.TotalCount = NarrowOutlookCount(state_.TotalCount - 1);
        context_.RaiseExportEvent(0);
      }
    }
  }

  void ExportSubfolders(OutlookFolder& folder) {
    const std::shared_ptr<OutlookFolders> subfolders = Required(folder.Folders());
    if (subfolders->Count() <= 0) return;
    const auto members = Required(subfolders->Enumerate());
    while (const std::shared_ptr<OutlookFolder> subfolder = members->Next()) {
      ExportContactFolder(*subfolder);
    }
  }

  void ExportContact(OutlookItem& item) {
    state_.CurrentCount = NarrowOutlookCount(state_.CurrentCount + 1);
    exported_ = NarrowOutlookCount(exported_ + 1);
    state_.ProgressText = ItemSubject(item);
    state_.LogText += DecimalText(exported_) + u'\x01' + state_.ProgressText + kLineEnd;
    const std::u16string file = delivery_.WorkingFile(exported_);
    SaveItemAs(item, file, outlook::kSaveAsVCard);
    delivery_.Deliver(file);
    context_.RaiseExportEvent(0);
  }

  CallContext& context_;
  SharedState& state_;
  SavedFileDelivery delivery_;
  // Contacts written in the whole run: numbers the files and the log lines.
  int16_t exported_ = 0;
};

}  // namespace

void ExportOutlookContacts(CallContext& context) { ContactsRun(context).Run(); }

}  // namespace orvane
