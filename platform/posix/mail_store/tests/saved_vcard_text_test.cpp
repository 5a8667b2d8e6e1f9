#include <gtest/gtest.h>

#include <string>

#include "platform/posix/mail_store/tests/saved_item_fixtures.h"
#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/posix_code_page.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {
namespace {

using posix::MailItem;

constexpr int32_t kContact = 40;
constexpr int32_t kDistributionList = 69;

MailItem FullContact() {
  MailItem item;
  item.item_class = kContact;
  item.subject = u"Lee, Ann";
  item.last_modification_time = Utc({2005, 3, 1, 12, 0, 0});
  item.full_name = u"Ann Lee";
  item.title = u"Dr.";
  item.first_name = u"Ann";
  item.middle_name = u"Marie";
  item.last_name = u"Lee";
  item.suffix = u"Jr.";
  item.company_name = u"Acme";
  item.department = u"Research";
  item.job_title = u"Head of Research";
  item.business_telephone = u"555-0101";
  item.home_telephone = u"555-0102";
  item.mobile_telephone = u"555-0103";
  item.business_fax = u"555-0105";
  item.business_address = {u"1 Main St", u"Springfield", u"IL", u"62701", u"USA"};
  item.home_address = {u"2 Elm St", u"Shelbyville", u"IL", u"62565", u"USA"};
  item.email_addresses = {u"ann@example.org", u"", u"ann.lee@example.com"};
  item.web_page = u"http://acme.example";
  item.birthday = Local({1970, 1, 31, 0, 0, 0});
  item.body = u"Prefers mornings";
  return item;
}

MailItem ChineseContact() {
  MailItem item;
  item.item_class = kContact;
  item.subject = u"王小明";
  item.full_name = u"王小明";
  item.last_name = u"王";
  item.first_name = u"小明";
  item.company_name = u"北京市";
  item.body = u"会议\r\n丂";
  item.home_address.street = u"北京路1号\r\n2";
  item.home_address.city = u"北京市";
  return item;
}

MailItem Contact(std::u16string subject) {
  MailItem item;
  item.item_class = kContact;
  item.subject = std::move(subject);
  return item;
}

MailItem DistributionList() {
  MailItem item;
  item.item_class = kDistributionList;
  item.subject = u"Sales team";
  item.last_modification_time = Local({2005, 3, 1, 12, 0, 0});
  return item;
}

MailItem MultiLineNoteAndStreet() {
  MailItem item = Contact(u"Ann Lee");
  item.body = u"Gate=2\r\nRing twice\nthen wait ÿ é";
  item.business_address.street = u"1 Main St\r\nBuilding B";
  item.business_address.city = u"Springfield";
  return item;
}

const std::string kVCardBegin = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
const std::string kVCardEnd = "END:VCARD\r\n";

TEST(SavedVCard, WholeCards) {
  const struct {
    const char* name;
    uint32_t code_page;
    MailItem item;
    Zone zone;
    std::string text;  // UTF-8 for the assertion
  } rows[] = {
      {"full contact", 1252, FullContact(), kNewYorkSummer,
       kVCardBegin +
           Lines({"N:Lee;Ann;Marie;Dr.;Jr.", "FN:Ann Lee", "ORG:Acme;Research",
                  "TITLE:Head of Research", "NOTE:Prefers mornings", "TEL;WORK;VOICE:555-0101",
                  "TEL;HOME;VOICE:555-0102", "TEL;CELL;VOICE:555-0103", "TEL;WORK;FAX:555-0105",
                  "ADR;WORK:;;1 Main St;Springfield;IL;62701;USA",
                  "LABEL;WORK;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ASpringfield, IL 62701=0D=0AUSA",
                  "ADR;HOME:;;2 Elm St;Shelbyville;IL;62565;USA",
                  "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:2 Elm St=0D=0AShelbyville, IL 62565=0D=0AUSA",
                  "URL;WORK:http://acme.example", "BDAY:19700131",
                  "EMAIL;PREF;INTERNET:ann@example.org", "EMAIL;INTERNET:ann.lee@example.com",
                  "REV:20050301T120000Z"}) +
           kVCardEnd},
      {"double-byte contact", 936, ChineseContact(), kUtc,
       kVCardBegin +
           Lines({"N:王;小明", "FN:王小明", "ORG:北京市",
                  "NOTE;ENCODING=QUOTED-PRINTABLE:=BB=E1=D2=E9=0D=0A=81@",
                  "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;=B1=B1=BE=A9=C2=B71=BA=C5=0D=0A2;"
                  "=B1=B1=BE=A9=CA=D0",
                  "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:=B1=B1=BE=A9=C2=B71=BA=C5=0D=0A2=0D=0A"
                  "=B1=B1=BE=A9=CA=D0"}) +
           kVCardEnd},
      {"minimal contact", 1252, Contact(u"Ann Lee"), kUtc,
       kVCardBegin + Lines({"N:", "FN:Ann Lee"}) + kVCardEnd},
      {"nothing at all", 936, MailItem{}, kUtc, kVCardBegin + Lines({"N:"}) + kVCardEnd},
      {"distribution list", 1252, DistributionList(), kIndia,
       kVCardBegin + Lines({"N:Sales team", "FN:Sales team", "REV:20050301T063000Z"}) + kVCardEnd},
      {"multi-line note and street", 1252, MultiLineNoteAndStreet(), kUtc,
       kVCardBegin +
           Lines({"N:", "FN:Ann Lee",
                  "NOTE;ENCODING=QUOTED-PRINTABLE:Gate=3D2=0D=0ARing twice=0Athen wait =FF é",
                  "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;1 Main St=0D=0ABuilding B;Springfield",
                  "LABEL;WORK;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ABuilding B=0D=0ASpringfield"}) +
           kVCardEnd},
  };
  for (const auto& row : rows) {
    posix::PosixCodePage code_page(row.code_page);
    FixedTimeZone zone(row.zone);
    EXPECT_EQ(Narrow(posix::SavedVCardText(row.item, code_page, zone)), row.text) << row.name;
  }
}

// Each row: the lines between "VERSION:2.1" and "END:VCARD".
TEST(SavedVCard, LinesOfEachRule) {
  const auto name = [](auto change) { return With(Contact(u"Lee, Ann"), change); };
  const struct {
    MailItem item;
    Zone zone;
    std::string body;
  } rows[] = {
      {name([](MailItem& i) { i.last_name = u"Lee"; }), kUtc, Lines({"N:Lee", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.middle_name = u"Marie"; }), kUtc,
       Lines({"N:;;Marie", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.full_name = u"Ann Lee;"; }), kUtc,
       Lines({"N:", "FN:Lee, Ann"})},  // no name parts: known by the subject
      {With(Contact(u""), [](MailItem& i) { i.full_name = u"Ann;"; }), kUtc,
       Lines({"N:", "FN:Ann;"})},
      {name([](MailItem& i) { i.first_name = u"Ann"; i.full_name = u"Ann Lee"; }), kUtc,
       Lines({"N:;Ann", "FN:Ann Lee"})},
      {name([](MailItem& i) { i.job_title = u" Chief"; }), kUtc,
       Lines({"N:", "FN:Lee, Ann", "TITLE;ENCODING=QUOTED-PRINTABLE: Chief"})},
      {name([](MailItem& i) { i.department = u"Research"; }), kUtc,
       Lines({"N:", "FN:Lee, Ann", "ORG:;Research"})},
      {name([](MailItem& i) { i.home_address.city = u"Shelbyville"; }), kUtc,
       Lines({"N:", "FN:Lee, Ann", "ADR;HOME:;;;Shelbyville", "LABEL;HOME:Shelbyville"})},
      {name([](MailItem& i) { i.home_address.country = u"USA"; i.home_address.state = u"IL"; }),
       kUtc, Lines({"N:", "FN:Lee, Ann", "ADR;HOME:;;;;IL;;USA",
                    "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:IL=0D=0AUSA"})},
      {name([](MailItem& i) { i.email_addresses = {u"", u"b@x", u"c@x"}; }), kUtc,
       Lines({"N:", "FN:Lee, Ann", "EMAIL;PREF;INTERNET:b@x", "EMAIL;INTERNET:c@x"})},
      {name([](MailItem& i) { i.birthday = Utc({1970, 1, 30, 20, 0, 0}); }), kIndia,
       Lines({"N:", "FN:Lee, Ann", "BDAY:19700131"})},
      {name([](MailItem& i) { i.birthday = Utc({1970, 1, 30, 20, 0, 0}); }), kNoZone,
       Lines({"N:", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.last_modification_time = Local({2005, 7, 1, 22, 30, 15}); }),
       kNewYorkSummer, Lines({"N:", "FN:Lee, Ann", "REV:20050702T023015Z"})},
      {name([](MailItem& i) { i.last_modification_time = Local({2005, 7, 1, 22, 30, 15}); }),
       kNoZone, Lines({"N:", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.last_modification_time = Local({9999, 12, 31, 23, 0, 0}); }),
       kNewYorkSummer, Lines({"N:", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.last_modification_time = posix::StoredTime{~uint64_t{0}, true}; }),
       kUtc, Lines({"N:", "FN:Lee, Ann"})},
      {name([](MailItem& i) { i.last_modification_time = Local({1601, 1, 1, 1, 0, 0}); }), kIndia,
       Lines({"N:", "FN:Lee, Ann"})},  // before the first FILETIME
      {name([](MailItem& i) { i.last_modification_time = posix::StoredTime{~uint64_t{0} >> 1}; }),
       kNewYorkSummer, Lines({"N:", "FN:Lee, Ann"})},
  };
  for (const auto& row : rows) {
    posix::PosixCodePage code_page(1252);
    FixedTimeZone zone(row.zone);
    EXPECT_EQ(Narrow(posix::SavedVCardText(row.item, code_page, zone)),
              kVCardBegin + row.body + kVCardEnd)
        << &row - rows;
  }
}

}  // namespace
}  // namespace orvane::testing
