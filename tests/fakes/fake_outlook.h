#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/outlook_object_model.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

// An in-memory mail client: a contacts and a calendar folder, each a tree of
// folders holding items of any class. SaveAs writes into the FakeDisk with the
// rules of the fake file system, so the runs find the files where they expect them.

// What SaveAs writes: "vCard of Ann\r\n" (format 6) or "vCalendar of Ann\r\n" (format 7).
std::string SavedText(const std::u16string& subject, int32_t format);

class FakeOutlookItem final : public OutlookItem,
                              public OutlookAppointment,
                              public std::enable_shared_from_this<FakeOutlookItem> {
 public:
  FakeOutlookItem(std::shared_ptr<FakeDisk> disk, int32_t item_class, std::u16string subject,
                  AutomationDate modified, int32_t recurrence_state);

  // "Class", "Subject", "LastModificationTime" (read), "SaveAs" (called); an
  // appointment also answers "RecurrenceState". Anything else, or a member
  // named in `lacking`, raises 438.
  AutomationValue InvokeByName(std::u16string_view member, InvokeKind kind,
                               const std::vector<AutomationValue>& arguments) override;
  // Only an item of class 26 is an appointment; any other raises 13.
  std::shared_ptr<OutlookAppointment> AsAppointment() override;

  std::u16string Subject() override;
  AutomationDate LastModificationTime() override;
  // Replaces the file at `path`; a missing folder raises 76, an unknown format 5.
  void SaveAs(const std::u16string& path, int32_t format) override;
  int32_t RecurrenceState() override;

  int32_t item_class;
  std::u16string subject;
  AutomationDate modified;
  int32_t recurrence_state;
  std::set<std::u16string, std::less<>> lacking;
  std::optional<int32_t> save_error;  // SaveAs raises this error instead of writing
  bool saves_nothing = false;          // SaveAs returns without writing

 private:
  std::shared_ptr<FakeDisk> disk_;
};

class FakeOutlookFolder final : public OutlookFolder,
                                public std::enable_shared_from_this<FakeOutlookFolder> {
 public:
  FakeOutlookFolder(std::u16string folder_name, std::u16string default_message_class)
      : name(std::move(folder_name)), message_class(std::move(default_message_class)) {}

  // Adds items or subfolders at the end of the collection; returns this folder.
  FakeOutlookFolder& Add(std::shared_ptr<FakeOutlookItem> item);
  FakeOutlookFolder& Add(std::shared_ptr<FakeOutlookFolder> folder);

  std::shared_ptr<OutlookItems> Items() override;
  std::shared_ptr<OutlookFolders> Folders() override;
  std::u16string Name() override { return name; }
  std::u16string DefaultMessageClass() override { return message_class; }

  std::u16string name;
  std::u16string message_class;
  std::vector<std::shared_ptr<FakeOutlookItem>> items;
  std::vector<std::shared_ptr<FakeOutlookFolder>> subfolders;
  std::optional<int32_t> items_error;  // Items() raises this error: a folder that cannot be read
};

class FakeOutlook final : public OutlookObjectModel {
  std::shared_ptr<FakeDisk> disk_;

 public:
  // The step of the session opening that fails.
  enum class Failing { kNothing, kCreate, kGetNamespace, kLogon };

  explicit FakeOutlook(std::shared_ptr<FakeDisk> disk) : disk_(std::move(disk)) {}

  std::shared_ptr<OutlookApplication> CreateApplication() override;

  std::shared_ptr<FakeOutlookItem> Contact(std::u16string subject, AutomationDate modified = 0);
  std::shared_ptr<FakeOutlookItem> DistributionList(std::u16string subject);
  std::shared_ptr<FakeOutlookItem> Appointment(std::u16string subject,
                                               AutomationDate modified = 0,
                                               int32_t recurrence_state = 0);
  // An item of any class (a note, a task...).
  std::shared_ptr<FakeOutlookItem> ItemOfClass(int32_t item_class, std::u16string subject);
  std::shared_ptr<FakeOutlookFolder> Folder(std::u16string name, std::u16string message_class);

  // The default folders GetDefaultFolder hands out.
  std::shared_ptr<FakeOutlookFolder> contacts = Folder(u"Contacts", u"IPM.Contact");
  std::shared_ptr<FakeOutlookFolder> calendar = Folder(u"Calendar", u"IPM.Appointment");

  Failing failing = Failing::kNothing;
  int applications_created = 0;
  int logons = 0;
};

}  // namespace orvane::testing
