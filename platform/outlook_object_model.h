#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation_value.h"
#include "platform/clock.h"

namespace orvane {

// The mail client's published object model, as far as the component reaches it.
// Every failing operation throws orvane::Error; nothing is retried.

// The numbers GetDefaultFolder takes, and the SaveAs formats.
namespace outlook {
inline constexpr int32_t kFolderCalendar = 9;
inline constexpr int32_t kFolderContacts = 10;
inline constexpr int32_t kSaveAsVCard = 6;
inline constexpr int32_t kSaveAsVCalendar = 7;
inline constexpr int32_t kClassAppointment = 26;
inline constexpr int32_t kClassContact = 40;
inline constexpr int32_t kClassDistributionList = 69;
}  // namespace outlook

// Walks a collection once, in collection order.
template <typename Member>
class OutlookEnumerator {
 public:
  virtual ~OutlookEnumerator() = default;
  // The next member; null after the last.
  virtual std::shared_ptr<Member> Next() = 0;
};

enum class InvokeKind { kPropertyGet, kMethod };

class OutlookAppointment;

// Any item of any kind, reached late-bound by member name, as an automation
// client calls IDispatch.
class OutlookItem {
 public:
  virtual ~OutlookItem() = default;
  // Reads property `member` or calls method `member` with `arguments`; a
  // method returns the empty value. A member the item does not have throws
  // error 438 "Object doesn't support this property or method".
  virtual AutomationValue InvokeByName(std::u16string_view member, InvokeKind kind,
                                       const std::vector<AutomationValue>& arguments) = 0;
  // The item's typed appointment interface; throws error 13 "Type mismatch"
  // when the item is not an appointment.
  virtual std::shared_ptr<OutlookAppointment> AsAppointment() = 0;
};

class OutlookAppointment {
 public:
  virtual ~OutlookAppointment() = default;
  virtual std::u16string Subject() = 0;
  virtual AutomationDate LastModificationTime() = 0;
  // Writes the appointment at `path` (extension included) in `format`.
  virtual void SaveAs(const std::u16string& path, int32_t format) = 0;
  // 0 when the appointment does not recur.
  virtual int32_t RecurrenceState() = 0;
};

class OutlookItems {
 public:
  virtual ~OutlookItems() = default;
  virtual int32_t Count() = 0;
  // The member at a 1-based `index`; outside the collection, an error.
  virtual std::shared_ptr<OutlookItem> Item(const AutomationValue& index) = 0;
  virtual std::unique_ptr<OutlookEnumerator<OutlookItem>> Enumerate() = 0;
};

class OutlookFolder;

class OutlookFolders {
 public:
  virtual ~OutlookFolders() = default;
  virtual int32_t Count() = 0;
  virtual std::unique_ptr<OutlookEnumerator<OutlookFolder>> Enumerate() = 0;
};

class OutlookFolder {
 public:
  virtual ~OutlookFolder() = default;
  virtual std::shared_ptr<OutlookItems> Items() = 0;
  virtual std::shared_ptr<OutlookFolders> Folders() = 0;
  virtual std::u16string Name() = 0;
  // "IPM.Contact" marks a contacts folder.
  virtual std::u16string DefaultMessageClass() = 0;
};

class OutlookNamespace {
 public:
  virtual ~OutlookNamespace() = default;
  // Profile and password are always omitted.
  virtual void Logon(bool show_dialog, bool new_session) = 0;
  // outlook::kFolderContacts or outlook::kFolderCalendar.
  virtual std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t folder) = 0;
};

class OutlookApplication {
 public:
  virtual ~OutlookApplication() = default;
  virtual std::shared_ptr<OutlookNamespace> GetNamespace(const std::u16string& type) = 0;
};

// Creates the mail client's application object; throws orvane::Error when the
// mail client is not installed or cannot be started.
class OutlookObjectModel {
 public:
  virtual ~OutlookObjectModel() = default;
  virtual std::shared_ptr<OutlookApplication> CreateApplication() = 0;
};

}  // namespace orvane
