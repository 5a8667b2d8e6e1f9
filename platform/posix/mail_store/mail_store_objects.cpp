#include "platform/posix/mail_store/mail_store_objects.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <limits>

#include "platform/automation_date.h"
#include "platform/error.h"
#include "platform/posix/address_book/property_reading.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/file_copy.h"
#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Member names are matched as automation matches them: without regard to case.
bool SameName(std::u16string_view a, std::u16string_view b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

int32_t CountOf(size_t size) {
  return static_cast<int32_t>(
      std::min(size, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

// Writes `item` at `path` in `format`, replacing any file there; nothing is
// left half-written when it fails.
void SaveItem(const MailItem& item, const std::u16string& path, int32_t format,
              const StoreServices& services) {
  std::u16string text;
  if (format == outlook::kSaveAsVCard) {
    text = SavedVCardText(item, *services.code_page, *services.time_zone);
  } else if (format == outlook::kSaveAsVCalendar && item.item_class == outlook::kClassAppointment) {
    text = SavedVCalendarText(item, *services.code_page, *services.time_zone);
  } else {
    throw Error(errors::kInvalidProcedureCall);
  }
  // A NUL would cut the path short at the operating system and so name another file.
  if (path.find(u'\0') != std::u16string::npos) throw Error(errors::kPathFileAccessError);
  if (path.empty()) throw Error(errors::kPathNotFound);
  const std::string target = EncodeUtf8(path);
  const std::string bytes = services.code_page->FromUtf16(text);
  // The new file takes the old one's name by a rename, which the old file's own
  // protection would not stop.
  const ReplaceCheck may_replace = [&] { return ReplaceRefusal(*services.calls, target); };
  if (const int error = WriteFileReplacing(*services.calls, target, bytes, may_replace)) {
    ThrowForErrno(error, MissingPath::kFolder);  // a new file is made: only a folder can miss
  }
}

template <typename Member>
class VectorEnumerator final : public OutlookEnumerator<Member> {
 public:
  using Make = std::function<std::shared_ptr<Member>(size_t index)>;
  VectorEnumerator(size_t size, Make make) : size_(size), make_(std::move(make)) {}
  std::shared_ptr<Member> Next() override { return next_ < size_ ? make_(next_++) : nullptr; }

 private:
  size_t size_;
  Make make_;
  size_t next_ = 0;
};

class StoreAppointment final : public OutlookAppointment {
 public:
  StoreAppointment(std::shared_ptr<const MailItem> item, StoreServices services)
      : item_(std::move(item)), services_(std::move(services)) {}
  std::u16string Subject() override { return item_->subject; }
  AutomationDate LastModificationTime() override {
    return LocalAutomationDate(item_->last_modification_time,
                               services_.time_zone->GetTimeZoneInformation());
  }
  void SaveAs(const std::u16string& path, int32_t format) override {
    SaveItem(*item_, path, format, services_);
  }
  int32_t RecurrenceState() override { return item_->recurrence_state; }

 private:
  std::shared_ptr<const MailItem> item_;
  StoreServices services_;
};

class StoreItem final : public OutlookItem {
 public:
  StoreItem(std::shared_ptr<const MailItem> item, StoreServices services)
      : item_(std::move(item)), services_(std::move(services)) {}

  AutomationValue InvokeByName(std::u16string_view member, InvokeKind kind,
                               const std::vector<AutomationValue>& arguments) override {
    if (SameName(member, u"SaveAs") && kind == InvokeKind::kMethod) {
      if (arguments.size() != 2) throw Error(errors::kInvalidProcedureCall);
      SaveItem(*item_, TextOf(arguments[0]), Int32Of(arguments[1]), services_);
      return std::monostate{};
    }
    // A property may also be called as a method without arguments, as automation allows.
    if (!arguments.empty()) throw Error(errors::kMemberNotSupported);
    if (SameName(member, u"Class")) return item_->item_class;
    if (SameName(member, u"Subject")) return item_->subject;
    if (SameName(member, u"LastModificationTime")) {
      return DateValue{LocalAutomationDate(item_->last_modification_time,
                                           services_.time_zone->GetTimeZoneInformation())};
    }
    throw Error(errors::kMemberNotSupported);
  }

  std::shared_ptr<OutlookAppointment> AsAppointment() override {
    if (item_->item_class != outlook::kClassAppointment) throw Error(errors::kTypeMismatch);
    return std::make_shared<StoreAppointment>(item_, services_);
  }

 private:
  std::shared_ptr<const MailItem> item_;
  StoreServices services_;
};

class StoreItems final : public OutlookItems {
 public:
  StoreItems(std::shared_ptr<const MailFolder> folder, StoreServices services)
      : folder_(std::move(folder)), services_(std::move(services)) {}

  int32_t Count() override { return CountOf(folder_->items.size()); }

  std::shared_ptr<OutlookItem> Item(const AutomationValue& index) override {
    const int32_t position = Int32Of(index);
    if (position < 1 || position > Count()) throw Error(errors::kSubscriptOutOfRange);
    return ItemAt(static_cast<size_t>(position) - 1);
  }

  // The enumerator may outlive the collection: it holds the folder itself.
  std::unique_ptr<OutlookEnumerator<OutlookItem>> Enumerate() override {
    return std::make_unique<VectorEnumerator<OutlookItem>>(
        static_cast<size_t>(Count()),
        [folder = folder_, services = services_](size_t i) { return ItemAt(folder, i, services); });
  }

 private:
  static std::shared_ptr<OutlookItem> ItemAt(const std::shared_ptr<const MailFolder>& folder,
                                             size_t i, const StoreServices& services) {
    return std::make_shared<StoreItem>(std::shared_ptr<const MailItem>(folder, &folder->items[i]),
                                       services);
  }
  std::shared_ptr<OutlookItem> ItemAt(size_t i) const { return ItemAt(folder_, i, services_); }

  std::shared_ptr<const MailFolder> folder_;
  StoreServices services_;
};

class StoreFolder final : public OutlookFolder {
 public:
  StoreFolder(std::shared_ptr<const MailFolder> folder, StoreServices services)
      : folder_(std::move(folder)), services_(std::move(services)) {}

  std::shared_ptr<OutlookItems> Items() override {
    return std::make_shared<StoreItems>(folder_, services_);
  }
  std::shared_ptr<OutlookFolders> Folders() override;
  std::u16string Name() override { return folder_->name; }
  std::u16string DefaultMessageClass() override { return folder_->default_message_class; }

 private:
  std::shared_ptr<const MailFolder> folder_;
  StoreServices services_;
};

class StoreFolders final : public OutlookFolders {
 public:
  StoreFolders(std::shared_ptr<const MailFolder> parent, StoreServices services)
      : parent_(std::move(parent)), services_(std::move(services)) {}

  int32_t Count() override { return CountOf(parent_->folders.size()); }

  std::unique_ptr<OutlookEnumerator<OutlookFolder>> Enumerate() override {
    auto make = [parent = parent_,
                 services = services_](size_t i) -> std::shared_ptr<OutlookFolder> {
      return std::make_shared<StoreFolder>(
          std::shared_ptr<const MailFolder>(parent, &parent->folders[i]), services);
    };
    return std::make_unique<VectorEnumerator<OutlookFolder>>(static_cast<size_t>(Count()), make);
  }

 private:
  std::shared_ptr<const MailFolder> parent_;
  StoreServices services_;
};

std::shared_ptr<OutlookFolders> StoreFolder::Folders() {
  return std::make_shared<StoreFolders>(folder_, services_);
}

class StoreNamespace final : public OutlookNamespace {
 public:
  StoreNamespace(SharedMailStore store, StoreServices services)
      : store_(std::move(store)), services_(std::move(services)) {}

  // The store needs no profile and no password.
  void Logon(bool, bool) override {}

  std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t folder) override {
    const MailFolder* chosen = nullptr;
    if (folder == outlook::kFolderContacts) chosen = &store_->contacts;
    if (folder == outlook::kFolderCalendar) chosen = &store_->calendar;
    if (chosen == nullptr) throw Error(errors::kInvalidProcedureCall);
    return std::make_shared<StoreFolder>(std::shared_ptr<const MailFolder>(store_, chosen),
                                         services_);
  }

 private:
  SharedMailStore store_;
  StoreServices services_;
};

class StoreApplication final : public OutlookApplication {
 public:
  StoreApplication(SharedMailStore store, StoreServices services)
      : store_(std::move(store)), services_(std::move(services)) {}

  std::shared_ptr<OutlookNamespace> GetNamespace(const std::u16string& type) override {
    if (type != u"MAPI") throw Error(errors::kInvalidProcedureCall);
    return std::make_shared<StoreNamespace>(store_, services_);
  }

 private:
  SharedMailStore store_;
  StoreServices services_;
};

}  // namespace

std::shared_ptr<OutlookApplication> MakeStoreApplication(SharedMailStore store,
                                                         StoreServices services) {
  return std::make_shared<StoreApplication>(std::move(store), std::move(services));
}

AutomationDate LocalAutomationDate(const std::optional<StoredTime>& time,
                                   const TimeZoneInformation& zone) {
  if (!time) return 0;
  const std::optional<FileTime> local = LocalFileTimeOf(*time, zone);
  if (!local) return 0;
  const auto seconds = static_cast<int64_t>(local->ticks() / kTicksPerSecond);
  return AutomationDateFromParts(PartsFromSeconds(seconds - kSecondsFrom1601To1970));
}

}  // namespace orvane::posix
