#include <gtest/gtest.h>

#include <functional>

#include "outlook/tests/outlook_component.h"
#include "platform/automation_date.h"

namespace orvane::testing {
namespace {

const std::u16string kTitleSentinel = u"(title as passed)";
const AutomationDate kTimeSentinel = AutomationDateFromParts({2000, 1, 1, 0, 0, 0});
const AutomationDate kMonday = AutomationDateFromParts({2024, 11, 4, 9, 15, 30});
const AutomationDate kTuesday = AutomationDateFromParts({2024, 11, 5, 18, 0, 0});
constexpr int32_t kNoteClass = 44;

// Contacts: Ann, the list Team, and Memo, which lacks a modification time;
// a subfolder Work with Cy. Calendar: A, a note, the recurring R; a subfolder with C.
struct ItemsComponent : OutlookComponent {
  ItemsComponent() {
    const auto memo = mail->Contact(u"Memo");
    memo->lacking.insert(u"LastModificationTime");
    mail->contacts->Add(mail->Contact(u"Ann", kMonday))
        .Add(mail->DistributionList(u"Team"))
        .Add(memo)
        .Add(mail->Folder(u"Work", u"IPM.Contact"));
    mail->contacts->subfolders[0]->Add(mail->Contact(u"Cy"));
    mail->calendar->Add(mail->Appointment(u"A", kTuesday))
        .Add(mail->ItemOfClass(kNoteClass, u"Note"))
        .Add(mail->Appointment(u"R", kMonday, 1))
        .Add(mail->Folder(u"Holidays", u"IPM.Appointment"));
    mail->calendar->subfolders[0]->Add(mail->Appointment(u"C"));
  }
  int32_t GetItem(int16_t ExportType, int16_t ItemIdx) {
    return component.GetItem(ItemIdx, ExportType, title, modified);
  }

  std::u16string title = kTitleSentinel;
  AutomationDate modified = kTimeSentinel;
};

// Every public method of types 1 and 2, as a host calls it.
struct PublicCall {
  const char* name;
  std::function<int32_t(ItemsComponent&)> call;
  int32_t result;
};

const PublicCall kPublicCalls[] = {
    {"itemcount 1", [](ItemsComponent& c) { return c.component.itemcount(kContacts); }, -1},
    {"itemcount 2", [](ItemsComponent& c) { return c.component.itemcount(kCalendar); }, -1},
    {"GetItem 1", [](ItemsComponent& c) { return c.GetItem(kContacts, 1); }, 91},
    {"GetItem 2", [](ItemsComponent& c) { return c.GetItem(kCalendar, 1); }, 91},
    {"ExportItem2 1",
     [](ItemsComponent& c) {
       std::u16string filename;
       const int32_t result = c.component.ExportItem2(5, kContacts, filename);
       EXPECT_EQ(filename, u"/app/OutlookvCard5") << "the path is formed before the session";
       return result;
     },
     91},
    {"ExportItem2 2",
     [](ItemsComponent& c) {
       std::u16string filename = u"/out/a";
       return c.component.ExportItem2(1, kCalendar, filename);
     },
     91},
    {"Export2 1", [](ItemsComponent& c) { return c.Export(kContacts); }, 91},
    {"Export2 2", [](ItemsComponent& c) { return c.Export(kCalendar); }, 91},
};

TEST(OutlookSession, UnavailableMailClientFailsEveryCallWith91AfterOneMessage) {
  const std::u16string message = u"Unable to use the Outlook module";
  for (const auto failing : {FakeOutlook::Failing::kCreate, FakeOutlook::Failing::kGetNamespace,
                             FakeOutlook::Failing::kLogon}) {
    for (const PublicCall& row : kPublicCalls) {
      SCOPED_TRACE(std::string(row.name) + ", failing step " +
                   std::to_string(static_cast<int>(failing)));
      ItemsComponent outlook;
      outlook.mail->failing = failing;
      EXPECT_EQ(row.call(outlook), row.result);
      ASSERT_EQ(outlook.fake.message_box->shown.size(), 1u);
      EXPECT_EQ(outlook.fake.message_box->shown[0].first, message);
      EXPECT_EQ(outlook.fake.message_box->shown[0].second, MessageBoxKind::kInformation);
      EXPECT_EQ(outlook.title, kTitleSentinel);
      EXPECT_EQ(outlook.modified, kTimeSentinel);
      EXPECT_TRUE(outlook.Destination().empty());
      const std::u16string log_text = outlook.module.ThreadState().LogText;
      ASSERT_GE(log_text.size(), message.size());
      EXPECT_EQ(log_text.substr(log_text.size() - message.size()), message);
      if (std::string(row.name).starts_with("Export2")) {
        EXPECT_EQ(outlook.Log(), kStart + Narrow(message) + "\r\n");
        EXPECT_EQ(outlook.events->lines,
                  (Events{"progress 0 0 ",
                          "done [Object variable or With block variable not set] [/app/run.log]"}));
      } else {
        EXPECT_EQ(log_text, message);
      }
    }
  }
}

TEST(OutlookSession, EveryCallLogsOnAfreshAndTheMessageFollowsTheUserLanguage) {
  ItemsComponent outlook;
  for (const PublicCall& row : kPublicCalls) row.call(outlook);
  EXPECT_EQ(outlook.mail->applications_created, 8);
  EXPECT_EQ(outlook.mail->logons, 8);

  outlook.mail->failing = FakeOutlook::Failing::kLogon;
  outlook.fake.language->id = 2052;
  EXPECT_EQ(outlook.component.itemcount(kContacts), -1);
  EXPECT_EQ(outlook.fake.message_box->shown.at(0).first, u"无法使用Outlook元件");
}

TEST(OutlookItems, CountsEveryItemOfTheDefaultFolderAndNoSubfolder) {
  ItemsComponent outlook;
  EXPECT_EQ(outlook.component.itemcount(kContacts), 3) << "the list counts, Work does not";
  EXPECT_EQ(outlook.component.itemcount(kCalendar), 3) << "the recurring one counts once";
}

TEST(OutlookItems, MoreThan32767ItemsCannotBeCountedOrExported) {
  for (const int16_t type : {kContacts, kCalendar}) {
    for (const int items : {32767, 32768}) {
      SCOPED_TRACE(std::to_string(type) + ": " + std::to_string(items));
      OutlookComponent outlook;
      auto& folder = type == kContacts ? outlook.mail->contacts : outlook.mail->calendar;
      folder->items.assign(static_cast<size_t>(items), outlook.mail->ItemOfClass(kNoteClass, u"x"));
      EXPECT_EQ(outlook.component.itemcount(type), items == 32767 ? 32767 : -1);
      if (items == 32768) {
        EXPECT_EQ(outlook.Export(type), errors::kOverflow);
        EXPECT_EQ(outlook.events->lines.back(), "done [Overflow] [/app/run.log]");
        EXPECT_TRUE(outlook.Destination().empty());
      }
    }
  }
}

TEST(OutlookItems, GetItemFillsTitleAndTimeOrNeither) {
  const struct {
    int16_t type, index;
    int32_t result;
    std::u16string title;
    AutomationDate modified;
  } rows[] = {
      {kContacts, 1, 0, u"Ann", kMonday},
      {kContacts, 2, 0, u"Team", 0},  // any item answers by name
      {kContacts, 3, errors::kMemberNotSupported, kTitleSentinel, kTimeSentinel},
      {kContacts, 0, errors::kSubscriptOutOfRange, kTitleSentinel, kTimeSentinel},
      {kContacts, 4, errors::kSubscriptOutOfRange, kTitleSentinel, kTimeSentinel},
      {kCalendar, 1, 0, u"A", kTuesday},
      {kCalendar, 3, 0, u"R", kMonday},
      {kCalendar, 2, errors::kTypeMismatch, kTitleSentinel, kTimeSentinel},
      {kCalendar, -1, errors::kSubscriptOutOfRange, kTitleSentinel, kTimeSentinel},
      {kCalendar, 4, errors::kSubscriptOutOfRange, kTitleSentinel, kTimeSentinel},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.type) + ": item " + std::to_string(row.index));
    ItemsComponent outlook;
    EXPECT_EQ(outlook.GetItem(row.type, row.index), row.result);
    EXPECT_EQ(outlook.title, row.title);
    EXPECT_EQ(outlook.modified, row.modified);
  }
}

TEST(OutlookItems, ExportItem2AppendsTheExtensionAndLetsTheMailClientWrite) {
  const struct {
    int16_t type, index;
    std::u16string filename;
    int32_t result;
    std::u16string written;
    std::string bytes;
  } rows[] = {
      {kContacts, 1, u"/out/a", 0, u"a.vcf", "vCard of Ann\r\n"},
      {kContacts, 1, u"/out/a.vcf", 0, u"a.vcf.vcf", "vCard of Ann\r\n"},
      {kContacts, 2, u"/out/a", 0, u"a.vcf", "vCard of Team\r\n"},
      {kCalendar, 1, u"/out/a", 0, u"a.vcs", "vCalendar of A\r\n"},
      {kCalendar, 1, u"/out/a.vcf", 0, u"a.vcf.vcs", "vCalendar of A\r\n"},
      {kCalendar, 3, u"/out/a", 0, u"a.vcs", "vCalendar of R\r\n"},
      {kCalendar, 2, u"/out/a", errors::kTypeMismatch, u"", ""},
      {kContacts, 0, u"/out/a", errors::kSubscriptOutOfRange, u"", ""},
      {kContacts, 4, u"/out/a", errors::kSubscriptOutOfRange, u"", ""},
      {kCalendar, 4, u"/out/a", errors::kSubscriptOutOfRange, u"", ""},
      {kContacts, 1, u"/out/none/a", errors::kPathNotFound, u"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.type) + ": item " + std::to_string(row.index) + " to " +
                 Narrow(row.filename));
    ItemsComponent outlook;
    std::u16string filename = row.filename;
    EXPECT_EQ(outlook.component.ExportItem2(row.index, row.type, filename), row.result);
    EXPECT_EQ(filename, row.filename);
    if (row.written.empty()) {
      EXPECT_TRUE(outlook.Destination().empty());
    } else {
      EXPECT_EQ(outlook.Destination(), Files{row.written});
      EXPECT_EQ(outlook.File(u"/out/" + row.written), row.bytes);
    }
    EXPECT_TRUE(outlook.events->lines.empty());
  }
}

}  // namespace
}  // namespace orvane::testing
