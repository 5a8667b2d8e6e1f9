#include "addressbook/vcard_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_address_book.h"
#include "addressbook/tests/fake_call.h"

namespace orvane::testing {
namespace {

// Rows print as their names.
using orvane::testing::PrintTo;

using namespace tags;
using Lines = std::vector<std::u16string>;

const FileTime kMarchFirstNoon = FileTimeOf({2005, 3, 1, 12, 0, 0});

// The single-item card of the one entry of a fresh book.
std::u16string CardFor(const FakeEntry& entry, float offset = 0, uint32_t code_page = 1252) {
  auto book = std::make_shared<FakeAddressBook>(std::vector<FakeEntry>{entry});
  FakeCall call(book, code_page);
  call.FetchEntries();
  return BuildWabVCard(call.context, 1, offset, 1);
}

struct CardCase {
  const char* name;
  FakeEntry entry;
  Lines body;  // every line between VERSION and END
};

class CardRule : public ::testing::TestWithParam<CardCase> {};

TEST_P(CardRule, GivesTheExpectedCard) {
  EXPECT_TRUE(SameCard(CardOf(GetParam().body), CardFor(GetParam().entry)));
}

INSTANTIATE_TEST_SUITE_P(
    Name, CardRule,
    ::testing::Values(
        CardCase{"Nothing", FakeEntry(), {u"N:", u"FN:"}},
        CardCase{"SurnameAndGiven",
                 FakeEntry().Text(PR_SURNAME, "Lee").Text(PR_GIVEN_NAME, "Ann"),
                 {u"N:Lee;Ann", u"FN:"}},
        CardCase{"GivenAlone", FakeEntry().Text(PR_GIVEN_NAME, "Ann"), {u"N:;Ann", u"FN:"}},
        CardCase{"PrefixAlone", FakeEntry().Text(PR_DISPLAY_NAME_PREFIX, "Dr."),
                 {u"N:;;;Dr.", u"FN:"}},
        CardCase{"GenerationAlone", FakeEntry().Text(PR_GENERATION, "Jr."),
                 {u"N:;;;;Jr.", u"FN:"}},
        CardCase{"AllFour",
                 FakeEntry()
                     .Text(PR_GENERATION, "Jr.")
                     .Text(PR_DISPLAY_NAME_PREFIX, "Dr.")
                     .Text(PR_GIVEN_NAME, "Ann")
                     .Text(PR_SURNAME, "Lee"),
                 {u"N:Lee;Ann;;Dr.;Jr.", u"FN:"}},
        CardCase{"SurnameOfSemicolonsOnly", FakeEntry().Text(PR_SURNAME, ";;"), {u"N:", u"FN:"}},
        CardCase{"DisplayName", FakeEntry().Text(PR_DISPLAY_NAME, "Ann Lee"),
                 {u"N:", u"FN:Ann Lee"}},
        CardCase{"LastOfARepeatedTag",
                 FakeEntry().Text(PR_DISPLAY_NAME, "Old").Text(PR_DISPLAY_NAME, "New"),
                 {u"N:", u"FN:New"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    Organization, CardRule,
    ::testing::Values(
        CardCase{"CompanyAlone", FakeEntry().Text(PR_COMPANY_NAME, "Acme"),
                 {u"N:", u"FN:", u"ORG:Acme"}},
        CardCase{"DepartmentAlone", FakeEntry().Text(PR_DEPARTMENT_NAME, "Sales"),
                 {u"N:", u"FN:", u"ORG:;Sales"}},
        CardCase{"Both",
                 FakeEntry().Text(PR_COMPANY_NAME, "Acme").Text(PR_DEPARTMENT_NAME, "Sales"),
                 {u"N:", u"FN:", u"ORG:Acme;Sales"}},
        CardCase{"CompanyEndingInSemicolon", FakeEntry().Text(PR_COMPANY_NAME, "Acme;"),
                 {u"N:", u"FN:", u"ORG:Acme"}},
        CardCase{"NicknameLosesSemicolonsWithoutOrg", FakeEntry().Text(PR_NICKNAME, "Bo;;"),
                 {u"N:", u"FN:", u"NICKNAME:Bo"}},
        CardCase{"DisplayNameLosesSemicolonsWithoutOrg",
                 FakeEntry().Text(PR_DISPLAY_NAME, "Lee;"), {u"N:", u"FN:Lee"}},
        CardCase{"NicknameKeepsSemicolonWithOrg",
                 FakeEntry().Text(PR_NICKNAME, "Bo;").Text(PR_COMPANY_NAME, "Acme"),
                 {u"N:", u"FN:", u"NICKNAME:Bo;", u"ORG:Acme"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    SimpleLines, CardRule,
    ::testing::Values(
        CardCase{"Title", FakeEntry().Text(PR_TITLE, "Buyer"), {u"N:", u"FN:", u"TITLE:Buyer"}},
        CardCase{"Note", FakeEntry().Text(PR_COMMENT, "Met at the fair; call back"),
                 {u"N:", u"FN:", u"NOTE:Met at the fair; call back"}},
        CardCase{"WorkVoice", FakeEntry().Text(PR_BUSINESS_TELEPHONE_NUMBER, "1"),
                 {u"N:", u"FN:", u"TEL;WORK;VOICE:1"}},
        CardCase{"HomeVoice", FakeEntry().Text(PR_HOME_TELEPHONE_NUMBER, "2"),
                 {u"N:", u"FN:", u"TEL;HOME;VOICE:2"}},
        CardCase{"Cell", FakeEntry().Text(PR_MOBILE_TELEPHONE_NUMBER, "3"),
                 {u"N:", u"FN:", u"TEL;CELL;VOICE:3"}},
        CardCase{"Pager", FakeEntry().Text(PR_PAGER_TELEPHONE_NUMBER, "4"),
                 {u"N:", u"FN:", u"TEL;PAGER;VOICE:4"}},
        CardCase{"WorkFax", FakeEntry().Text(PR_BUSINESS_FAX_NUMBER, "5"),
                 {u"N:", u"FN:", u"TEL;WORK;FAX:5"}},
        CardCase{"HomeFax", FakeEntry().Text(PR_HOME_FAX_NUMBER, "6"),
                 {u"N:", u"FN:", u"TEL;HOME;FAX:6"}},
        CardCase{"HomePage", FakeEntry().Text(PR_PERSONAL_HOME_PAGE, "http://a.example"),
                 {u"N:", u"FN:", u"URL;HOME:http://a.example"}},
        CardCase{"WorkPage", FakeEntry().Text(PR_BUSINESS_HOME_PAGE, "http://b.example"),
                 {u"N:", u"FN:", u"URL;WORK:http://b.example"}},
        CardCase{"Role", FakeEntry().Text(PR_PROFESSION, "Chemist"),
                 {u"N:", u"FN:", u"ROLE:Chemist"}},
        CardCase{"ValuesAreNotEscaped", FakeEntry().Text(PR_TITLE, "a,b;c\\d"),
                 {u"N:", u"FN:", u"TITLE:a,b;c\\d"}},
        CardCase{"OtherTagsAreSkipped", FakeEntry().Text(0x3A00001E, "account"),
                 {u"N:", u"FN:"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    Addresses, CardRule,
    ::testing::Values(
        CardCase{"WorkCityOnly", FakeEntry().Text(PR_LOCALITY, "Springfield"),
                 {u"N:", u"FN:", u"ADR;WORK:;;;Springfield",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Springfield"}},
        CardCase{"WorkCityAndRegion",
                 FakeEntry().Text(PR_LOCALITY, "Springfield").Text(PR_STATE_OR_PROVINCE, "IL"),
                 {u"N:", u"FN:", u"ADR;WORK:;;;Springfield;IL",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Springfield, IL"}},
        CardCase{"WorkCountryOnly", FakeEntry().Text(PR_COUNTRY, "USA"),
                 {u"N:", u"FN:", u"ADR;WORK:;;;;;;USA",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:USA"}},
        CardCase{"WorkOfficeOnly", FakeEntry().Text(PR_OFFICE_LOCATION, "Room 4"),
                 {u"N:", u"FN:", u"ADR;WORK:;Room 4",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Room 4"}},
        CardCase{"WorkFull",
                 FakeEntry()
                     .Text(PR_COUNTRY, "USA")
                     .Text(PR_POSTAL_CODE, "62701")
                     .Text(PR_STATE_OR_PROVINCE, "IL")
                     .Text(PR_LOCALITY, "Springfield")
                     .Text(PR_STREET_ADDRESS, "1 Main St")
                     .Text(PR_OFFICE_LOCATION, "Room 4"),
                 {u"N:", u"FN:", u"ADR;WORK:;Room 4;1 Main St;Springfield;IL;62701;USA",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Room 4 1 Main St Springfield, IL 62701 "
                  u"USA"}},
        CardCase{"StreetCommaKeepsCityComma",
                 FakeEntry().Text(PR_STREET_ADDRESS, "Main St, 5").Text(PR_LOCALITY, "Springfield"),
                 {u"N:", u"FN:", u"ADR;WORK:;;Main St, 5;Springfield",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Main St, 5 Springfield,"}},
        CardCase{"EqualsSignInLabel", FakeEntry().Text(PR_STREET_ADDRESS, "Flat=3"),
                 {u"N:", u"FN:", u"ADR;WORK:;;Flat=3",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Flat=3D3"}},
        CardCase{"MultiLineStreet",
                 FakeEntry()
                     .Text(PR_STREET_ADDRESS, "1 Main St\r\nBuilding B")
                     .Text(PR_LOCALITY, "Springfield"),
                 {u"N:", u"FN:",
                  u"ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;1 Main St=0D=0ABuilding B;Springfield",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ABuilding B Springfield"}},
        CardCase{"ValueOf255InLabel", FakeEntry().Text(PR_LOCALITY, "Ha\xFF"),
                 {u"N:", u"FN:", u"ADR;WORK:;;;Haÿ",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Ha=FF"}},
        CardCase{"HomeCityOnly", FakeEntry().Text(PR_HOME_ADDRESS_CITY, "Shelbyville"),
                 {u"N:", u"FN:", u"ADR;HOME:;;;Shelbyville",
                  u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:Shelbyville"}},
        CardCase{"HomeFull",
                 FakeEntry()
                     .Text(PR_HOME_ADDRESS_STREET, "2 Elm St")
                     .Text(PR_HOME_ADDRESS_CITY, "Shelbyville")
                     .Text(PR_HOME_ADDRESS_STATE_OR_PROVINCE, "IL")
                     .Text(PR_HOME_ADDRESS_POSTAL_CODE, "62565")
                     .Text(PR_HOME_ADDRESS_COUNTRY, "USA"),
                 {u"N:", u"FN:", u"ADR;HOME:;;2 Elm St;Shelbyville;IL;62565;USA",
                  u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:2 Elm St Shelbyville, IL 62565 USA"}},
        CardCase{"WorkBeforeHome",
                 FakeEntry().Text(PR_HOME_ADDRESS_COUNTRY, "Canada").Text(PR_COUNTRY, "USA"),
                 {u"N:", u"FN:", u"ADR;WORK:;;;;;;USA",
                  u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:USA", u"ADR;HOME:;;;;;;Canada",
                  u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:Canada"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    Gender, CardRule,
    ::testing::Values(CardCase{"Unspecified", FakeEntry().Short(PR_GENDER, 0), {u"N:", u"FN:"}},
                      CardCase{"Female", FakeEntry().Short(PR_GENDER, 1),
                               {u"N:", u"FN:", u"X-WAB-GENDER:1"}},
                      CardCase{"Male", FakeEntry().Short(PR_GENDER, 2),
                               {u"N:", u"FN:", u"X-WAB-GENDER:2"}},
                      CardCase{"Other", FakeEntry().Short(PR_GENDER, 3), {u"N:", u"FN:"}},
                      CardCase{"Negative", FakeEntry().Short(PR_GENDER, -1), {u"N:", u"FN:"}},
                      CardCase{"Unreadable", FakeEntry().Unreadable(PR_GENDER), {u"N:", u"FN:"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    Email, CardRule,
    ::testing::Values(
        CardCase{"PreferredOnly", FakeEntry().Text(PR_EMAIL_ADDRESS, "ann@example.org"),
                 {u"N:", u"FN:", u"EMAIL;PREF;INTERNET:ann@example.org"}},
        CardCase{"ListEqualToPreferred",
                 FakeEntry()
                     .Text(PR_EMAIL_ADDRESS, "ann@example.org")
                     .List(PR_CONTACT_EMAIL_ADDRESSES, {"ann@example.org"}),
                 {u"N:", u"FN:", u"EMAIL;PREF;INTERNET:ann@example.org"}},
        CardCase{"DiffersInCaseOnly",
                 FakeEntry()
                     .Text(PR_EMAIL_ADDRESS, "ann@example.org")
                     .List(PR_CONTACT_EMAIL_ADDRESSES, {"Ann@example.org"}),
                 {u"N:", u"FN:", u"EMAIL;PREF;INTERNET:ann@example.org",
                  u"EMAIL;INTERNET:Ann@example.org"}},
        CardCase{"FurtherAddressesInOrder",
                 FakeEntry()
                     .List(PR_CONTACT_EMAIL_ADDRESSES, {"c@x", "ann@example.org", "b@x"})
                     .Text(PR_EMAIL_ADDRESS, "ann@example.org"),
                 {u"N:", u"FN:", u"EMAIL;PREF;INTERNET:ann@example.org", u"EMAIL;INTERNET:c@x",
                  u"EMAIL;INTERNET:b@x"}},
        CardCase{"NoPreferred", FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {"a@x", "b@x"}),
                 {u"N:", u"FN:", u"EMAIL;INTERNET:a@x", u"EMAIL;INTERNET:b@x"}},
        CardCase{"EmptyElementWithPreferred",
                 FakeEntry()
                     .Text(PR_EMAIL_ADDRESS, "a@x")
                     .List(PR_CONTACT_EMAIL_ADDRESSES, {"b@x", ""}),
                 {u"N:", u"FN:", u"EMAIL;PREF;INTERNET:a@x", u"EMAIL;INTERNET:b@x",
                  u"EMAIL;INTERNET:"}},
        CardCase{"EmptyElementWithoutPreferred",
                 FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {"b@x", ""}),
                 {u"N:", u"FN:", u"EMAIL;INTERNET:b@x"}},
        CardCase{"ElementHoldingSemicolon",
                 FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {"a@x;b@x"}),
                 {u"N:", u"FN:", u"EMAIL;INTERNET:a@x", u"EMAIL;INTERNET:b@x"}},
        CardCase{"EmptyList", FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {}),
                 {u"N:", u"FN:"}}),
    RowName<CardCase>);

INSTANTIATE_TEST_SUITE_P(
    Birthday, CardRule,
    ::testing::Values(
        CardCase{"Midnight", FakeEntry().Time(PR_BIRTHDAY, FileTimeOf({1980, 5, 17, 0, 0, 0})),
                 {u"N:", u"FN:", u"BDAY:19800517"}},
        CardCase{"TimeOfDayIsDropped",
                 FakeEntry().Time(PR_BIRTHDAY, FileTimeOf({1980, 5, 17, 23, 30, 0})),
                 {u"N:", u"FN:", u"BDAY:19800517"}},
        CardCase{"EarlyYear", FakeEntry().Time(PR_BIRTHDAY, FileTimeOf({1601, 1, 2, 0, 0, 0})),
                 {u"N:", u"FN:", u"BDAY:16010102"}},
        CardCase{"NotADate", FakeEntry().Time(PR_BIRTHDAY, FileTime::FromTicks(~uint64_t{0})),
                 {u"N:", u"FN:"}}),
    RowName<CardCase>);

// The fixed parts of a card with a time stamp, for the REV tables.
struct RevisionCase {
  const char* name;
  DateTimeParts stored;
  TimeZoneInformation zone;
  std::u16string rev;  // empty: no REV line
};

class Revision : public ::testing::TestWithParam<RevisionCase> {};

TEST_P(Revision, IsTheStoredTimeInUtc) {
  FixedTimeZone zone(GetParam().zone);
  const std::u16string card =
      CardFor(FakeEntry()
                  .Text(PR_DISPLAY_NAME, "Ann")
                  .Time(PR_LAST_MODIFICATION_TIME, FileTimeOf(GetParam().stored, 999)),
              GetUtcOffsetHours(zone));
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann", GetParam().rev}), card));
}

using Zone = TimeZoneInformation;
INSTANTIATE_TEST_SUITE_P(
    Zones, Revision,
    ::testing::Values(
        RevisionCase{"EightEast", {2005, 3, 1, 12, 0, 0}, {Zone::kUnknown, -480, 0, 0},
                     u"REV:20050301T040000Z"},
        RevisionCase{"FiveWest", {2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 300, 0, -60},
                     u"REV:20050301T170000Z"},
        RevisionCase{"FiveWestDaylight", {2005, 3, 1, 12, 0, 0}, {Zone::kDaylight, 300, 0, -60},
                     u"REV:20050301T160000Z"},
        RevisionCase{"Utc", {2005, 3, 1, 12, 34, 56}, {Zone::kStandard, 0, 0, 0},
                     u"REV:20050301T123456Z"},
        RevisionCase{"HalfHourEast", {2005, 3, 1, 12, 0, 0}, {Zone::kStandard, -330, 0, 0},
                     u"REV:20050301T063000Z"},
        RevisionCase{"HalfHourWest", {2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 210, 0, -60},
                     u"REV:20050301T153000Z"},
        RevisionCase{"AcrossTheYear", {2000, 1, 1, 0, 0, 0}, {Zone::kUnknown, -480, 0, 0},
                     u"REV:19991231T160000Z"},
        RevisionCase{"MidnightStored", {2005, 3, 1, 0, 0, 0}, {Zone::kStandard, 300, 0, 0},
                     u"REV:20050301T050000Z"}),
    RowName<RevisionCase>);

TEST(Revision, UnreadableTimeLeavesNoLineButTheCardEnds) {
  const FakeEntry entries[] = {
      FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Unreadable(PR_LAST_MODIFICATION_TIME),
      FakeEntry().Text(PR_DISPLAY_NAME, "Ann").Time(PR_LAST_MODIFICATION_TIME,
                                                    FileTime::FromTicks(uint64_t{1} << 63))};
  for (const FakeEntry& entry : entries) {
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann"}), CardFor(entry, -8.0f)));
  }
}

TEST(Revision, ShiftLeavingTheRangeOfDatesLeavesNoLine) {
  const FakeEntry entry =
      FakeEntry().Time(PR_LAST_MODIFICATION_TIME, FileTimeOf({9999, 12, 31, 23, 0, 0}));
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), CardFor(entry, 5.0f)));
}

TEST(Card, DisplayNameAndTimeGiveSixLines) {
  const FakeEntry entry = FakeEntry()
                              .Time(PR_LAST_MODIFICATION_TIME, kMarchFirstNoon)
                              .Text(PR_DISPLAY_NAME, "Ann Lee");
  EXPECT_TRUE(SameCard({u"BEGIN:VCARD", u"VERSION:2.1", u"N:", u"FN:Ann Lee",
                        u"REV:20050301T200000Z", u"END:VCARD"},
                       CardFor(entry, 8.0f)));
}

TEST(Card, EveryLineInItsPlace) {
  const FakeEntry entry =
      FakeEntry()
          .Time(PR_LAST_MODIFICATION_TIME, kMarchFirstNoon)
          .List(PR_CONTACT_EMAIL_ADDRESSES, {"ann@example.org", "ann.lee@example.com"})
          .Text(PR_EMAIL_ADDRESS, "ann@example.org")
          .Time(PR_BIRTHDAY, FileTimeOf({1970, 1, 31, 0, 0, 0}))
          .Text(PR_PROFESSION, "Chemist")
          .Text(PR_BUSINESS_HOME_PAGE, "http://acme.example")
          .Text(PR_PERSONAL_HOME_PAGE, "http://ann.example")
          .Short(PR_GENDER, 1)
          .Text(PR_HOME_ADDRESS_COUNTRY, "USA")
          .Text(PR_HOME_ADDRESS_POSTAL_CODE, "62565")
          .Text(PR_HOME_ADDRESS_STATE_OR_PROVINCE, "IL")
          .Text(PR_HOME_ADDRESS_CITY, "Shelbyville")
          .Text(PR_HOME_ADDRESS_STREET, "2 Elm St")
          .Text(PR_COUNTRY, "USA")
          .Text(PR_POSTAL_CODE, "62701")
          .Text(PR_STATE_OR_PROVINCE, "IL")
          .Text(PR_LOCALITY, "Springfield")
          .Text(PR_STREET_ADDRESS, "1 Main St")
          .Text(PR_OFFICE_LOCATION, "Room 4")
          .Text(PR_HOME_FAX_NUMBER, "555-0106")
          .Text(PR_BUSINESS_FAX_NUMBER, "555-0105")
          .Text(PR_PAGER_TELEPHONE_NUMBER, "555-0104")
          .Text(PR_MOBILE_TELEPHONE_NUMBER, "555-0103")
          .Text(PR_HOME_TELEPHONE_NUMBER, "555-0102")
          .Text(PR_BUSINESS_TELEPHONE_NUMBER, "555-0101")
          .Text(PR_COMMENT, "Prefers mornings")
          .Text(PR_TITLE, "Head of Research")
          .Text(PR_DEPARTMENT_NAME, "Research")
          .Text(PR_COMPANY_NAME, "Acme")
          .Text(PR_NICKNAME, "Annie")
          .Text(PR_DISPLAY_NAME, "Ann Lee")
          .Text(PR_GENERATION, "Jr.")
          .Text(PR_DISPLAY_NAME_PREFIX, "Dr.")
          .Text(PR_GIVEN_NAME, "Ann")
          .Text(PR_SURNAME, "Lee");
  EXPECT_TRUE(SameCard(
      {u"BEGIN:VCARD",
       u"VERSION:2.1",
       u"N:Lee;Ann;;Dr.;Jr.",
       u"FN:Ann Lee",
       u"NICKNAME:Annie",
       u"ORG:Acme;Research",
       u"TITLE:Head of Research",
       u"NOTE:Prefers mornings",
       u"TEL;WORK;VOICE:555-0101",
       u"TEL;HOME;VOICE:555-0102",
       u"TEL;CELL;VOICE:555-0103",
       u"TEL;PAGER;VOICE:555-0104",
       u"TEL;WORK;FAX:555-0105",
       u"TEL;HOME;FAX:555-0106",
       u"ADR;WORK:;Room 4;1 Main St;Springfield;IL;62701;USA",
       u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Room 4 1 Main St Springfield, IL 62701 USA",
       u"ADR;HOME:;;2 Elm St;Shelbyville;IL;62565;USA",
       u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:2 Elm St Shelbyville, IL 62565 USA",
       u"X-WAB-GENDER:1",
       u"URL;HOME:http://ann.example",
       u"URL;WORK:http://acme.example",
       u"ROLE:Chemist",
       u"BDAY:19700131",
       u"EMAIL;PREF;INTERNET:ann@example.org",
       u"EMAIL;INTERNET:ann.lee@example.com",
       u"REV:20050301T120000Z",
       u"END:VCARD"},
      CardFor(entry)));
}

TEST(Card, LongNoteComesOutWhole) {
  const std::string note(1000, 'n');
  const std::u16string card = CardFor(FakeEntry().Text(PR_COMMENT, note));
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:", u"NOTE:" + std::u16string(1000, u'n')}), card));
}

TEST(Card, LongListElementComesOutWhole) {
  const std::string address = std::string(290, 'a') + "@example.org";
  const std::u16string card = CardFor(FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {address}));
  EXPECT_TRUE(SameCard(
      CardOf({u"N:", u"FN:", u"EMAIL;INTERNET:" + std::u16string(290, u'a') + u"@example.org"}),
      card));
}

TEST(Card, NoteWithLineBreaksIsQuotedPrintableAndDecodesBack) {
  const std::u16string card =
      CardFor(FakeEntry().Text(PR_COMMENT, "Gate=2\r\nRing twice\nthen wait"));
  EXPECT_TRUE(SameCard(
      CardOf({u"N:", u"FN:",
              u"NOTE;ENCODING=QUOTED-PRINTABLE:Gate=3D2=0D=0ARing twice=0Athen wait"}),
      card));
}

TEST(Card, EveryValueWithALineBreakIsEncoded) {
  const FakeEntry entry = FakeEntry()
                              .Text(PR_DISPLAY_NAME, "Ann\r\nLee")
                              .Text(PR_SURNAME, "Lee\n")
                              .Text(PR_TITLE, "Head\rof")
                              .List(PR_CONTACT_EMAIL_ADDRESSES, {"a@x\r\n"});
  EXPECT_TRUE(SameCard(CardOf({u"N;ENCODING=QUOTED-PRINTABLE:Lee=0A",
                               u"FN;ENCODING=QUOTED-PRINTABLE:Ann=0D=0ALee",
                               u"TITLE;ENCODING=QUOTED-PRINTABLE:Head=0Dof",
                               u"EMAIL;INTERNET;ENCODING=QUOTED-PRINTABLE:a@x=0D=0A"}),
                       CardFor(entry)));
}

TEST(Card, EqualsSignOutsideLabelsStaysBare) {
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:", u"NOTE:a=b"}),
                       CardFor(FakeEntry().Text(PR_COMMENT, "a=b"))));
}

TEST(Card, ListWhoseSecondOfThreeFailsKeepsTheFirstAndThird) {
  auto book = std::make_shared<FakeAddressBook>();
  book->AddEntry(FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, {"a@x", "b@x", "c@x"}));
  book->failures.read = FailListElement(PR_CONTACT_EMAIL_ADDRESSES, 1);
  FakeCall call(book);
  call.FetchEntries();
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:", u"EMAIL;INTERNET:a@x", u"EMAIL;INTERNET:c@x"}),
                       BuildWabVCard(call.context, 1, 0, 1)));
}

TEST(Card, ThirdReadFailingLosesThatValueOnly) {
  for (const bool throws : {false, true}) {
    auto book = std::make_shared<FakeAddressBook>();
    book->AddEntry(FakeEntry()
                       .Text(PR_SURNAME, "Lee")
                       .Text(PR_GIVEN_NAME, "Ann")
                       .Text(PR_NICKNAME, "Annie")
                       .Text(PR_TITLE, "Buyer"));
    book->failures.read = FailNthRead(3);
    book->failures.throw_on_failed_read = throws;
    FakeCall call(book);
    call.FetchEntries();
    EXPECT_TRUE(SameCard(CardOf({u"N:Lee;Ann", u"FN:", u"TITLE:Buyer"}),
                         BuildWabVCard(call.context, 1, 0, 1)))
        << "throws " << throws;
  }
}

TEST(Card, DoubleByteTextsAreConvertedAndLabelsEncoded) {
  const FakeEntry entry = FakeEntry()
                              .Text(PR_DISPLAY_NAME, "\xA4\xA4\xA4\xE5")
                              .Text(PR_HOME_ADDRESS_STREET, "\xA4\xA4\xA4\x40");
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:中文", u"ADR;HOME:;;中一",
                               u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:=A4=A4=A4@"}),
                       CardFor(entry, 0, 950)));
}

TEST(Card, ReadsOnlyTheTagsItWrites) {
  auto book = std::make_shared<FakeAddressBook>();
  book->AddEntry(FakeEntry()
                     .Text(0x3A00001E, "account")
                     .Text(PR_DISPLAY_NAME, "Ann")
                     .Text(0x3001001F, "wide"));
  FakeCall call(book);
  call.FetchEntries();
  BuildWabVCard(call.context, 1, 0, 1);
  ASSERT_EQ(book->reads.size(), 1u);
  EXPECT_EQ(book->reads[0].tag, PR_DISPLAY_NAME);
  EXPECT_EQ(book->calls.get_prop_tag, 3);
}

TEST(Card, EntryOutsideTheListGivesTheMinimalCard) {
  for (const int32_t index : {0, -1, 2, INT32_MAX, INT32_MIN}) {
    auto book = std::make_shared<FakeAddressBook>();
    book->AddEntry(FakeEntry().Text(PR_DISPLAY_NAME, "Ann"));
    FakeCall call(book);
    call.FetchEntries();
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), BuildWabVCard(call.context, index, 0, 1)))
        << index;
    EXPECT_EQ(book->calls.get_num_props, 0) << index;
  }
}

TEST(Card, EntryTheLibraryDidNotFillHoldsWhatTheLibraryReports) {
  auto book = std::make_shared<FakeAddressBook>();
  book->AddEntry(FakeEntry().Text(PR_DISPLAY_NAME, "Ann"));
  book->AddEntry(FakeEntry().Text(PR_DISPLAY_NAME, "Bo"));
  book->failures.fill_only = 1;
  FakeCall call(book);
  call.FetchEntries();
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann"}), BuildWabVCard(call.context, 1, 0, 1)));
  EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), BuildWabVCard(call.context, 2, 0, 1)));
}

}  // namespace
}  // namespace orvane::testing
