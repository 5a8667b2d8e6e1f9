#include "tests/fakes/fake_outlook.h"

#include <utility>

#include "platform/error.h"

namespace orvane::testing {
namespace {

template <typename Member>
class SnapshotEnumerator final : public OutlookEnumerator<Member> {
 public:
  explicit SnapshotEnumerator(std::vector<std::shared_ptr<Member>> members)
      : members_(std::move(members)) {}
  std::shared_ptr<Member> Next() override {
    return next_ < members_.size() ? members_[next_++] : nullptr;
  }

 private:
  std::vector<std::shared_ptr<Member>> members_;
  size_t next_ = 0;
};

class FakeItems final : public OutlookItems {
 public:
  explicit FakeItems(std::shared_ptr<FakeOutlookFolder> folder) : folder_(std::move(folder)) {}
  int32_t Count() override { return static_cast<int32_t>(folder_->items.size()); }
  // The component always passes a 16-bit integer; anything else shows up here.
  std::shared_ptr<OutlookItem> Item(const AutomationValue& index) override {
    if (!std::holds_alternative<int16_t>(index)) throw Error(errors::kTypeMismatch);
    const int16_t position = std::get<int16_t>(index);
    if (position < 1 || position > Count()) throw Error(errors::kSubscriptOutOfRange);
    return folder_->items[static_cast<size_t>(position - 1)];
  }
  std::unique_ptr<OutlookEnumerator<OutlookItem>> Enumerate() override {
    return std::make_unique<SnapshotEnumerator<OutlookItem>>(
        std::vector<std::shared_ptr<OutlookItem>>(folder_->items.begin(), folder_->items.end()));
  }

 private:
  std::shared_ptr<FakeOutlookFolder> folder_;
};

class FakeFolders final : public OutlookFolders {
 public:
  explicit FakeFolders(std::shared_ptr<FakeOutlookFolder> folder) : folder_(std::move(folder)) {}
  int32_t Count() override { return static_cast<int32_t>(folder_->subfolders.size()); }
  std::unique_ptr<OutlookEnumerator<OutlookFolder>> Enumerate() override {
    return std::make_unique<SnapshotEnumerator<OutlookFolder>>(
        std::vector<std::shared_ptr<OutlookFolder>>(folder_->subfolders.begin(),
                                                    folder_->subfolders.end()));
  }

 private:
  std::shared_ptr<FakeOutlookFolder> folder_;
};

class FakeNamespace final : public OutlookNamespace {
 public:
  explicit FakeNamespace(FakeOutlook& outlook) : outlook_(outlook) {}
  void Logon(bool, bool) override {
    if (outlook_.failing == FakeOutlook::Failing::kLogon) throw Error(errors::kPermissionDenied);
    ++outlook_.logons;
  }
  std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t folder) override {
    if (folder == outlook::kFolderContacts) return outlook_.contacts;
    if (folder == outlook::kFolderCalendar) return outlook_.calendar;
    throw Error(errors::kInvalidProcedureCall);
  }

 private:
  FakeOutlook& outlook_;
};

class FakeApplication final : public OutlookApplication {
 public:
  explicit FakeApplication(FakeOutlook& outlook) : outlook_(outlook) {}
  std::shared_ptr<OutlookNamespace> GetNamespace(const std::u16string& type) override {
    if (type != u"MAPI" || outlook_.failing == FakeOutlook::Failing::kGetNamespace) {
      throw Error(errors::kInvalidProcedureCall);
    }
    return std::make_shared<FakeNamespace>(outlook_);
  }

 private:
  FakeOutlook& outlook_;
};

std::u16string ParentOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? u"" : slash == 0 ? u"/" : path.substr(0, slash);
}

}  // namespace

std::string SavedText(const std::u16string& subject, int32_t format) {
  return (format == outlook::kSaveAsVCard ? "vCard of " : "vCalendar of ") + Narrow(subject) +
         "\r\n";
}

FakeOutlookItem::FakeOutlookItem(std::shared_ptr<FakeDisk> disk, int32_t item_class_,
                                 std::u16string subject_, AutomationDate modified_,
                                 int32_t recurrence_state_)
    : item_class(item_class_),
      subject(std::move(subject_)),
      modified(modified_),
      recurrence_state(recurrence_state_),
      disk_(std::move(disk)) {}

AutomationValue FakeOutlookItem::InvokeByName(std::u16string_view member, InvokeKind kind,
                                              const std::vector<AutomationValue>& arguments) {
  if (lacking.count(member) == 0) {
    if (kind == InvokeKind::kPropertyGet && arguments.empty()) {
      if (member == u"Class") return item_class;
      if (member == u"Subject") return subject;
      if (member == u"LastModificationTime") return DateValue{modified};
      if (member == u"RecurrenceState" && item_class == outlook::kClassAppointment) {
        return recurrence_state;
      }
    }
    if (kind == InvokeKind::kMethod && member == u"SaveAs" && arguments.size() == 2) {
      SaveAs(TextOf(arguments[0]), Int32Of(arguments[1]));
      return {};
    }
  }
  throw Error(errors::kMemberNotSupported);
}

std::shared_ptr<OutlookAppointment> FakeOutlookItem::AsAppointment() {
  if (item_class != outlook::kClassAppointment) throw Error(errors::kTypeMismatch);
  return shared_from_this();
}

std::u16string FakeOutlookItem::Subject() { return subject; }

AutomationDate FakeOutlookItem::LastModificationTime() { return modified; }

void FakeOutlookItem::SaveAs(const std::u16string& path, int32_t format) {
  disk_->operations.push_back("SaveAs " + Narrow(path) + " " + std::to_string(format));
  if (save_error) throw Error(*save_error);
  if (format != outlook::kSaveAsVCard && format != outlook::kSaveAsVCalendar) {
    throw Error(errors::kInvalidProcedureCall);
  }
  if (!disk_->HasFolder(ParentOf(path))) throw Error(errors::kPathNotFound);
  if (!saves_nothing) disk_->files[path] = SavedText(subject, format);
}

int32_t FakeOutlookItem::RecurrenceState() { return recurrence_state; }

FakeOutlookFolder& FakeOutlookFolder::Add(std::shared_ptr<FakeOutlookItem> item) {
  items.push_back(std::move(item));
  return *this;
}

FakeOutlookFolder& FakeOutlookFolder::Add(std::shared_ptr<FakeOutlookFolder> folder) {
  subfolders.push_back(std::move(folder));
  return *this;
}

std::shared_ptr<OutlookItems> FakeOutlookFolder::Items() {
  if (items_error) throw Error(*items_error);
  return std::make_shared<FakeItems>(shared_from_this());
}

std::shared_ptr<OutlookFolders> FakeOutlookFolder::Folders() {
  return std::make_shared<FakeFolders>(shared_from_this());
}

std::shared_ptr<OutlookApplication> FakeOutlook::CreateApplication() {
  if (failing == Failing::kCreate) throw Error(errors::kCannotCreateObject);
  ++applications_created;
  return std::make_shared<FakeApplication>(*this);
}

std::shared_ptr<FakeOutlookItem> FakeOutlook::Contact(std::u16string subject,
                                                      AutomationDate modified) {
  return std::make_shared<FakeOutlookItem>(disk_, outlook::kClassContact, std::move(subject),
                                           modified, 0);
}

std::shared_ptr<FakeOutlookItem> FakeOutlook::DistributionList(std::u16string subject) {
  return ItemOfClass(outlook::kClassDistributionList, std::move(subject));
}

std::shared_ptr<FakeOutlookItem> FakeOutlook::Appointment(std::u16string subject,
                                                          AutomationDate modified,
                                                          int32_t recurrence_state) {
  return std::make_shared<FakeOutlookItem>(disk_, outlook::kClassAppointment, std::move(subject),
                                           modified, recurrence_state);
}

std::shared_ptr<FakeOutlookItem> FakeOutlook::ItemOfClass(int32_t item_class,
                                                          std::u16string subject) {
  return std::make_shared<FakeOutlookItem>(disk_, item_class, std::move(subject), 0, 0);
}

std::shared_ptr<FakeOutlookFolder> FakeOutlook::Folder(std::u16string name,
                                                       std::u16string message_class) {
  return std::make_shared<FakeOutlookFolder>(std::move(name), std::move(message_class));
}

}  // namespace orvane::testing
