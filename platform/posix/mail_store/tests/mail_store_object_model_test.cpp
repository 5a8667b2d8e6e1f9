#include "platform/posix/mail_store/mail_store_object_model.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <stdexcept>

#include "platform/automation_date.h"
#include "platform/error.h"
#include "platform/posix/mail_store/mail_store_parser.h"
#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/tests/test_helpers.h"
#include "platform/posix/text_conversion.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

using testing::FakeEnvironment;
using testing::ThrownErrorNumber;

// UTF-8 behind a mark, so that a test sees the text went through the code page.
class MarkingCodePage : public CodePage {
 public:
  uint32_t Number() override { return 65001; }
  std::string FromUtf16(const std::u16string& text) override { return "<cp>" + EncodeUtf8(text); }
  std::u16string ToUtf16(const std::string& bytes) override { return DecodeUtf8(bytes); }
};

// Fails the write or the rename it is told to, or finds files protected, with the errno given.
class FailingCalls : public SystemCalls {
 public:
  int write_error = 0, rename_error = 0, protected_error = 0;
  int Write(int fd, const char* bytes, std::size_t size, std::size_t& count) override {
    return write_error ? write_error : SystemCalls::Write(fd, bytes, size, count);
  }
  int CheckWritable(const std::string& path) override {
    return protected_error ? protected_error : SystemCalls::CheckWritable(path);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return rename_error ? rename_error : SystemCalls::Rename(from, to);
  }
};

const char* const kStore = R"({
  "contacts": {"name": "Contacts", "defaultMessageClass": "IPM.Contact",
    "items": [
      {"class": 40, "subject": "Ann", "lastModificationTime": "2024-01-15T12:00:00Z"},
      {"class": 69, "subject": "Team"},
      {"class": 26, "subject": "Lunch", "recurrenceState": 1}],
    "folders": [{"name": "Work", "items": [{"class": 40, "subject": "Bo"}]},
                {"name": "Notes", "defaultMessageClass": "IPM.Note"}]},
  "calendar": {"name": "Calendar", "items": [
      {"class": 26, "subject": "Meet", "start": "2024-03-01T09:00:00Z"}]}})";

// The rules of the data folder are those of the address book's; here only the
// variable and the file name are the mail store's own.
TEST(DefaultMailStoreFileTest, FollowsTheEnvironment) {
  const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
      {{{"ORVANE_MAIL_STORE", "/s.json"}, {"XDG_DATA_HOME", "/d"}}, "/s.json"},
      {{{"ORVANE_ADDRESS_BOOK", "/b.json"}, {"XDG_DATA_HOME", "/d"}}, "/d/orvane/mail-store.json"},
  };
  for (const auto& [environment, expected] : cases) {
    EXPECT_EQ(DefaultMailStoreFile(FakeEnvironment(environment)), expected)
        << ::testing::PrintToString(environment);
  }
}

class MailStoreTest : public ::testing::Test {
 protected:
  std::shared_ptr<MailStoreObjectModel> MakeModel(
      const std::string& file, EnvironmentReader environment = FakeEnvironment({})) {
    return std::make_shared<MailStoreObjectModel>(
        MailStoreSettings{code_page_, time_zone_, file, cache_, environment, calls_});
  }

  // The namespace of a store holding `json`.
  std::shared_ptr<OutlookNamespace> Open(const std::string& json = kStore) {
    path_ = folder_.WriteFile("store.json", json);
    return MakeModel(path_)->CreateApplication()->GetNamespace(u"MAPI");
  }

  std::shared_ptr<OutlookItem> ContactsItem(int32_t index) {
    return Open()->GetDefaultFolder(outlook::kFolderContacts)->Items()->Item(index);
  }

  orvane::testing::TemporaryFolder folder_;
  std::string path_;
  std::shared_ptr<CodePage> code_page_ = std::make_shared<MarkingCodePage>();
  std::shared_ptr<orvane::testing::FixedTimeZone> time_zone_ =
      std::make_shared<orvane::testing::FixedTimeZone>();
  std::shared_ptr<MailStoreCache> cache_ =
      std::make_shared<MailStoreCache>(MakePosixFileReader(), ParseMailStore);
  std::shared_ptr<FailingCalls> calls_ = std::make_shared<FailingCalls>();
};

TEST_F(MailStoreTest, WithoutAWellFormedStoreCreationFailsWith429AndKeepsTheReason) {
  folder_.MakeFolder("folder");
  const std::string fifo = folder_.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // nobody writes to it: opening it would wait for ever
  const std::string bad = folder_.WriteFile("bad.json", "{\"contacts\": {},\n\"calendar\": 1}");
  const std::pair<std::string, std::string> cases[] = {
      {folder_.path() + "/none.json", ": cannot read the file: No such file or directory"},
      {folder_.path() + "/folder", ": cannot read the file: Is a directory"},
      {fifo, ": cannot read the file: not a regular file"},
      {"/dev/null", ": cannot read the file: not a regular file"},
      {bad, ": line 2: \"calendar\": a folder must be an object"},
  };
  for (const auto& [file, reason] : cases) {
    const auto model = MakeModel(file);
    try {
      model->CreateApplication();
      ADD_FAILURE() << file << " was opened";
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), 429);
      EXPECT_EQ(error.description(), u"ActiveX component can't create object");
    }
    EXPECT_EQ(model->OpenFailureReason(), DecodeUtf8(file + reason));
  }
}

TEST_F(MailStoreTest, FindsTheStoreByTheEnvironmentUnlessNamedAndForgetsOldFailures) {
  const std::string chosen = folder_.WriteFile("chosen.json", kStore);
  const auto by_environment = MakeModel("", FakeEnvironment({{"ORVANE_MAIL_STORE", chosen}}));
  EXPECT_EQ(ThrownErrorNumber([&] { by_environment->CreateApplication(); }), 0);
  const auto nowhere = MakeModel("", FakeEnvironment({}));
  EXPECT_EQ(ThrownErrorNumber([&] { nowhere->CreateApplication(); }), 429);
  EXPECT_EQ(nowhere->OpenFailureReason(),
            u"no mail store file: neither ORVANE_MAIL_STORE nor HOME is set");

  const std::string later = folder_.path() + "/later.json";
  const auto model = MakeModel(later);
  EXPECT_EQ(ThrownErrorNumber([&] { model->CreateApplication(); }), 429);
  EXPECT_NE(model->OpenFailureReason(), u"");
  folder_.WriteFile("later.json", kStore);
  EXPECT_EQ(ThrownErrorNumber([&] { model->CreateApplication(); }), 0);
  EXPECT_EQ(model->OpenFailureReason(), u"");
}

TEST_F(MailStoreTest, AnApplicationKeepsTheVersionItOpened) {
  const auto model = MakeModel(path_ = folder_.WriteFile("store.json", kStore));
  const auto old_session = model->CreateApplication()->GetNamespace(u"MAPI");
  folder_.WriteFile("store.json", R"({"contacts": {"name": "New"}, "calendar": {}})");
  const auto new_session = model->CreateApplication()->GetNamespace(u"MAPI");
  EXPECT_EQ(old_session->GetDefaultFolder(outlook::kFolderContacts)->Name(), u"Contacts");
  EXPECT_EQ(old_session->GetDefaultFolder(outlook::kFolderContacts)->Items()->Count(), 3);
  EXPECT_EQ(new_session->GetDefaultFolder(outlook::kFolderContacts)->Name(), u"New");
}

TEST_F(MailStoreTest, NamespaceAndDefaultFoldersAnswerOnlyTheirNumbers) {
  const auto model = MakeModel(folder_.WriteFile("store.json", kStore));
  const auto application = model->CreateApplication();
  EXPECT_EQ(ThrownErrorNumber([&] { application->GetNamespace(u"LDAP"); }), 5);
  const auto session = application->GetNamespace(u"MAPI");
  EXPECT_EQ(ThrownErrorNumber([&] { session->Logon(true, true); }), 0);
  const std::pair<int32_t, std::u16string> folders[] = {
      {10, u"Contacts"}, {9, u"Calendar"}, {6, u""}, {0, u""}, {11, u""}};
  for (const auto& [number, name] : folders) {
    std::u16string found;
    const int32_t error =
        ThrownErrorNumber([&] { found = session->GetDefaultFolder(number)->Name(); });
    EXPECT_EQ(error, name.empty() ? 5 : 0) << number;
    EXPECT_EQ(found, name) << number;
  }
}

// The subjects an enumeration hands out, in its order.
std::u16string Subjects(OutlookItems& items) {
  std::u16string subjects;
  const auto enumerator = items.Enumerate();
  while (const auto item = enumerator->Next()) {
    subjects += TextOf(item->InvokeByName(u"Subject", InvokeKind::kPropertyGet, {})) + u";";
  }
  return subjects;
}

TEST_F(MailStoreTest, CollectionsEnumerateInDocumentOrderAndOutliveTheirParents) {
  std::unique_ptr<OutlookEnumerator<OutlookFolder>> folders;
  std::shared_ptr<OutlookItems> items;
  {
    const auto contacts = Open()->GetDefaultFolder(outlook::kFolderContacts);
    EXPECT_EQ(contacts->DefaultMessageClass(), u"IPM.Contact");
    EXPECT_EQ(contacts->Folders()->Count(), 2);
    folders = contacts->Folders()->Enumerate();
    items = contacts->Items();
  }
  EXPECT_EQ(Subjects(*items), u"Ann;Team;Lunch;");
  std::u16string names;
  while (const auto folder = folders->Next()) {
    names += folder->Name() + u"(" + folder->DefaultMessageClass() + u"):" +
             Subjects(*folder->Items()) + u" ";
  }
  EXPECT_EQ(names, u"Work():Bo; Notes(IPM.Note): ");
  EXPECT_EQ(folders->Next(), nullptr);
}

TEST_F(MailStoreTest, ItemTakesA1BasedIndexOfAnyNumericKind) {
  const auto items = Open()->GetDefaultFolder(outlook::kFolderContacts)->Items();
  const struct {
    AutomationValue index;
    int32_t error;
    std::u16string subject;
  } cases[] = {
      {int16_t{1}, 0, u"Ann"},
      {int32_t{3}, 0, u"Lunch"},
      {2.5, 0, u"Team"},
      {std::u16string(u"3"), 0, u"Lunch"},
      {true, 9, u""},  // true is -1
      {int16_t{0}, 9, u""},
      {int32_t{4}, 9, u""},
      {int32_t{-2147483647 - 1}, 9, u""},
      {std::u16string(u"one"), 13, u""},
      {1e12, 6, u""},
  };
  for (const auto& c : cases) {
    std::u16string subject;
    EXPECT_EQ(ThrownErrorNumber([&] {
                subject = TextOf(
                    items->Item(c.index)->InvokeByName(u"Subject", InvokeKind::kPropertyGet, {}));
              }),
              c.error)
        << EncodeUtf8(TextOf(c.index));
    EXPECT_EQ(subject, c.subject) << EncodeUtf8(TextOf(c.index));
  }
}

TEST_F(MailStoreTest, ItemsAnswerByNameOnlyTheirMembers) {
  const auto item = ContactsItem(1);
  struct Case {
    std::u16string member;
    InvokeKind kind;
    std::vector<AutomationValue> arguments;
    AutomationValue expected;  // an int32_t error number when `error` is set
    bool error = false;
  };
  const Case cases[] = {
      {u"Class", InvokeKind::kPropertyGet, {}, int32_t{40}},
      {u"class", InvokeKind::kMethod, {}, int32_t{40}},
      {u"SUBJECT", InvokeKind::kPropertyGet, {}, std::u16string(u"Ann")},
      {u"Class", InvokeKind::kPropertyGet, {int32_t{1}}, int32_t{438}, true},
      {u"FullName", InvokeKind::kPropertyGet, {}, int32_t{438}, true},
      {u"Body", InvokeKind::kPropertyGet, {}, int32_t{438}, true},
      {u"SaveAs", InvokeKind::kPropertyGet, {}, int32_t{438}, true},
      {u"SaveAs", InvokeKind::kMethod, {std::u16string(u"x.vcf")}, int32_t{5}, true},
      {u"Save", InvokeKind::kMethod, {}, int32_t{438}, true},
  };
  for (const Case& c : cases) {
    AutomationValue answer;
    const int32_t error =
        ThrownErrorNumber([&] { answer = item->InvokeByName(c.member, c.kind, c.arguments); });
    EXPECT_EQ(c.error ? AutomationValue(error) : answer, c.expected) << EncodeUtf8(c.member);
  }
}

TEST_F(MailStoreTest, LastModificationTimeIsLocalTimeByTheBiasInForce) {
  using Zone = TimeZoneInformation;
  struct Case {
    const char* stored;  // nullptr: the item has none
    Zone zone;
    DateTimeParts expected;
  };
  const Case cases[] = {
      {"2024-01-15T12:00:00Z", {Zone::kStandard, -480, 0, -60}, {2024, 1, 15, 20, 0, 0}},
      {"2024-07-15T12:00:00Z", {Zone::kDaylight, 300, 0, -60}, {2024, 7, 15, 8, 0, 0}},
      {"2024-07-15T12:00:00+02:00", {Zone::kUnknown, 0, 0, -60}, {2024, 7, 15, 10, 0, 0}},
      {"2024-07-15T12:00:00Z", {Zone::kInvalid, 300, 0, 0}, {2024, 7, 15, 12, 0, 0}},
      {"2024-01-15T12:00:00", {Zone::kStandard, -480, 0, 0}, {2024, 1, 15, 12, 0, 0}},
      {"1899-12-29T06:00:00Z", {Zone::kStandard, 0, 0, 0}, {1899, 12, 29, 6, 0, 0}},
      {nullptr, {Zone::kStandard, -480, 0, 0}, {1899, 12, 30, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    time_zone_->zone = c.zone;
    const std::string time =
        c.stored ? std::string(", \"lastModificationTime\": \"") + c.stored + "\"" : "";
    const auto calendar =
        Open(R"({"contacts": {}, "calendar": {"items": [{"class": 26)" + time + "}]}}")
            ->GetDefaultFolder(outlook::kFolderCalendar);
    const auto item = calendar->Items()->Item(int32_t{1});
    const AutomationDate expected = AutomationDateFromParts(c.expected);
    EXPECT_EQ(item->InvokeByName(u"LastModificationTime", InvokeKind::kPropertyGet, {}),
              AutomationValue(DateValue{expected}))
        << (c.stored ? c.stored : "none");
    EXPECT_EQ(item->AsAppointment()->LastModificationTime(), expected);
  }
}

TEST_F(MailStoreTest, OnlyAppointmentsHaveTheAppointmentInterface) {
  const auto session = Open();
  const auto contacts = session->GetDefaultFolder(outlook::kFolderContacts)->Items();
  EXPECT_EQ(ThrownErrorNumber([&] { contacts->Item(int32_t{1})->AsAppointment(); }), 13);
  EXPECT_EQ(ThrownErrorNumber([&] { contacts->Item(int32_t{2})->AsAppointment(); }), 13);
  const auto lunch = contacts->Item(int32_t{3})->AsAppointment();
  EXPECT_EQ(lunch->Subject(), u"Lunch");
  EXPECT_EQ(lunch->RecurrenceState(), 1);
  const auto meet = session->GetDefaultFolder(outlook::kFolderCalendar)->Items()->Item(int32_t{1});
  EXPECT_EQ(meet->AsAppointment()->RecurrenceState(), 0);
}

// The item `index` of the contacts folder of kStore, as the document has it.
MailItem StoredContact(size_t index) {
  return ParseMailStore(kStore).document->contacts.items.at(index - 1);
}

TEST_F(MailStoreTest, SaveAsWritesTheTextOfItsFormatInTheCodePage) {
  const auto items = Open()->GetDefaultFolder(outlook::kFolderContacts)->Items();
  const std::string vcard =
      "<cp>" + EncodeUtf8(SavedVCardText(StoredContact(1), *code_page_, *time_zone_));
  const std::string vcalendar =
      "<cp>" + EncodeUtf8(SavedVCalendarText(StoredContact(3), *code_page_, *time_zone_));
  struct Case {
    int32_t index;
    AutomationValue format;
    int32_t error;
    std::string written;
  };
  const Case cases[] = {
      {1, int32_t{6}, 0, vcard},     {1, std::u16string(u"6"), 0, vcard},
      {3, int16_t{7}, 0, vcalendar}, {1, int32_t{7}, 5, ""},  // a contact has no vCalendar form
      {2, int32_t{7}, 5, ""},        {1, int32_t{0}, 5, ""},
      {1, int32_t{8}, 5, ""},        {1, std::u16string(u"vcard"), 13, ""},
  };
  for (const Case& c : cases) {
    const std::string file = folder_.WriteFile("saved.txt", "old");
    const std::vector<AutomationValue> arguments{DecodeUtf8(file), c.format};
    EXPECT_EQ(ThrownErrorNumber([&] {
                items->Item(c.index)->InvokeByName(u"SaveAs", InvokeKind::kMethod, arguments);
              }),
              c.error)
        << c.index << " " << EncodeUtf8(TextOf(c.format));
    EXPECT_EQ(folder_.ReadFile("saved.txt"), c.error ? "old" : c.written) << c.index;
  }
  items->Item(int32_t{3})->AsAppointment()->SaveAs(folder_.Path16("appointment.vcs"), 7);
  EXPECT_EQ(folder_.ReadFile("appointment.vcs"), vcalendar);
}

TEST_F(MailStoreTest, AFailedSaveLeavesNothingHalfWritten) {
  const auto item = ContactsItem(1);
  folder_.MakeFolder("folder");
  struct Case {
    std::u16string path;
    int write_error, rename_error, protected_error;
    int32_t error;
  };
  const Case cases[] = {
      {folder_.Path16("missing/a.vcf"), 0, 0, 0, 76},
      {folder_.Path16("folder"), 0, 0, 0, 75},
      {folder_.Path16("old.vcf"), ENOSPC, 0, 0, 61},
      {folder_.Path16("old.vcf"), EACCES, 0, 0, 70},
      {folder_.Path16("old.vcf"), 0, EXDEV, 0, 75},
      {folder_.Path16("old.vcf"), 0, 0, EACCES, 70},  // the old file is write-protected
      {folder_.Path16("old.vcf"), 0, 0, EROFS, 70},
      {folder_.Path16("old.vcf") + u'\0' + u"x", 0, 0, 0, 75},
      {u"", 0, 0, 0, 76},
  };
  for (const Case& c : cases) {
    folder_.WriteFile("old.vcf", "old");
    calls_->write_error = c.write_error;
    calls_->rename_error = c.rename_error;
    calls_->protected_error = c.protected_error;
    const std::vector<AutomationValue> arguments{c.path, int32_t{6}};
    EXPECT_EQ(
        ThrownErrorNumber([&] { item->InvokeByName(u"SaveAs", InvokeKind::kMethod, arguments); }),
        c.error)
        << EncodeUtf8(c.path);
    EXPECT_EQ(folder_.Listing(), "folder old.vcf store.json ") << EncodeUtf8(c.path);
    EXPECT_EQ(folder_.ReadFile("old.vcf"), "old");
  }
}

TEST_F(MailStoreTest, RefusesToRunWithoutItsServices) {
  MailStoreSettings settings{code_page_, time_zone_, "", cache_, FakeEnvironment({}), nullptr};
  EXPECT_THROW(MailStoreObjectModel{settings}, std::invalid_argument);
}

}  // namespace
}  // namespace orvane::posix
