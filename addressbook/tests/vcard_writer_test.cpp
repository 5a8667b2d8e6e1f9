#include "addressbook/vcard_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "addressbook/tests/fake_call.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

using namespace tags;
using Lines = std::vector<std::string>;
using Zone = TimeZoneInformation;

FakeEntry With(int32_t tag, std::string text) { return FakeEntry().Text(tag, std::move(text)); }
FakeEntry Emails(FakeList list) {
  return FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, std::move(list));
}

// BEGIN, VERSION, the body and END joined by CR LF, as the writer joins them.
std::string Card(const Lines& body) {
  std::string card = "BEGIN:VCARD\r\nVERSION:2.1";
  for (const std::string& line : body) card += "\r\n" + line;
  return card + "\r\nEND:VCARD";
}

// The single-item card of the one entry of a fresh book.
std::string CardFor(const FakeEntry& entry, float offset = 0) {
  FakeCall call({entry});
  return Narrow(BuildWabVCard(call.context, 1, offset, 1));
}

TEST(Card, BirthdaysOnLeapDaysAndAtTheEndsOfTheRange) {
  const struct { DateTimeParts born; std::string bday; } rows[] = {
      {{2024, 2, 29, 0, 0, 0}, "BDAY:20240229"},
      {{2000, 2, 29, 0, 0, 0}, "BDAY:20000229"},
      {{1601, 1, 1, 0, 0, 0}, "BDAY:16010101"},
      {{9999, 12, 31, 23, 59, 59}, "BDAY:99991231"},
      {{10000, 1, 1, 0, 0, 0}, ""},  // past the dates a card can name: no line
  };
  for (const auto& row : rows) {
    const FakeEntry entry = FakeEntry().Time(PR_BIRTHDAY, FileTimeOf(row.born));
    const Lines body = row.bday.empty() ? Lines{"N:", "FN:"} : Lines{"N:", "FN:", row.bday};
    EXPECT_EQ(CardFor(entry, -8), Card(body)) << row.bday;
  }
}

TEST(Card, LinesOfEachRule) {
  const std::string work = "LABEL;WORK;ENCODING=QUOTED-PRINTABLE:";
  const auto gender = [](int16_t value) { return FakeEntry().Short(PR_GENDER, value); };
  const struct {
    FakeEntry entry;
    Lines body;
  } rows[] = {
      {With(PR_SURNAME, "Lee").Text(PR_GIVEN_NAME, "Ann"), {"N:Lee;Ann", "FN:"}},
      {With(PR_SURNAME, ";;"), {"N:", "FN:"}},
      {With(PR_COMPANY_NAME, "Acme"), {"N:", "FN:", "ORG:Acme"}},
      {With(PR_DEPARTMENT_NAME, "Sales"), {"N:", "FN:", "ORG:;Sales"}},
      {With(PR_NICKNAME, "Bo;;"), {"N:", "FN:", "NICKNAME:Bo"}},  // no ORG: the strip hits it
      {With(PR_NICKNAME, "Bo;").Text(PR_COMPANY_NAME, "Acme"),
       {"N:", "FN:", "NICKNAME:Bo;", "ORG:Acme"}},
      {With(PR_LOCALITY, "Springfield"),
       {"N:", "FN:", "ADR;WORK:;;;Springfield", work + "Springfield"}},
      {With(PR_LOCALITY, "Springfield").Text(PR_STATE_OR_PROVINCE, "IL"),
       {"N:", "FN:", "ADR;WORK:;;;Springfield;IL", work + "Springfield, IL"}},
      {With(PR_STREET_ADDRESS, "Main St, 5").Text(PR_LOCALITY, "Springfield"),
       {"N:", "FN:", "ADR;WORK:;;Main St, 5;Springfield", work + "Main St, 5 Springfield,"}},
      {gender(0), {"N:", "FN:"}},
      {gender(2), {"N:", "FN:", "X-WAB-GENDER:2"}},
      {gender(3), {"N:", "FN:"}},
      {Emails({"A@x"}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {"N:", "FN:", "EMAIL;PREF;INTERNET:a@x", "EMAIL;INTERNET:A@x"}},
      {Emails({"c@x", "a@x", "b@x"}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {"N:", "FN:", "EMAIL;PREF;INTERNET:a@x", "EMAIL;INTERNET:c@x", "EMAIL;INTERNET:b@x"}},
      // Only the whole address counts: one that differs in its last character stays.
      {Emails({"ann@example.org", "ann@example.com"}).Text(PR_EMAIL_ADDRESS, "ann@example.org"),
       {"N:", "FN:", "EMAIL;PREF;INTERNET:ann@example.org", "EMAIL;INTERNET:ann@example.com"}},
      {Emails({"b@x", ""}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {"N:", "FN:", "EMAIL;PREF;INTERNET:a@x", "EMAIL;INTERNET:b@x", "EMAIL;INTERNET:"}},
      {Emails({"b@x", ""}), {"N:", "FN:", "EMAIL;INTERNET:b@x"}},
      {Emails({"a@x;b@x"}), {"N:", "FN:", "EMAIL;INTERNET:a@x", "EMAIL;INTERNET:b@x"}},
      {With(PR_TITLE, "a,b;c\\d=e").Text(0x3A00001E, "account"), {"N:", "FN:", "TITLE:a,b;c\\d=e"}},
  };
  for (const auto& row : rows) EXPECT_EQ(CardFor(row.entry), Card(row.body)) << &row - rows;
}

TEST(Card, RevisionIsTheStoredTimeInUtcShiftedByTheExactOffset) {
  const struct {
    DateTimeParts stored;
    Zone zone;
    std::string rev;  // empty: no REV line
  } rows[] = {
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 300, 30, -60}, "REV:20050301T173000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kDaylight, 300, 0, -60}, "REV:20050301T160000Z"},
      {{2005, 3, 1, 12, 34, 56}, {Zone::kUnknown, -330, 0, 0}, "REV:20050301T070456Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kInvalid, 300, 0, -60}, "REV:20050301T120000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, INT32_MAX, 1, 0}, "REV:20050301T120000Z"},
      {{9999, 12, 31, 23, 0, 0}, {Zone::kStandard, 300, 0, 0}, ""},
      // Leap days, and a shift across one.
      {{2024, 2, 29, 12, 0, 0}, {Zone::kUnknown, 0, 0, 0}, "REV:20240229T120000Z"},
      {{2024, 2, 29, 22, 0, 0}, {Zone::kUnknown, 180, 0, 0}, "REV:20240301T010000Z"},
      {{2024, 3, 1, 1, 0, 0}, {Zone::kUnknown, -180, 0, 0}, "REV:20240229T220000Z"},
  };
  for (const auto& row : rows) {
    FixedTimeZone zone(row.zone);
    const FakeEntry entry =
        FakeEntry().Time(PR_LAST_MODIFICATION_TIME, FileTimeOf(row.stored, 999));
    const Lines body = row.rev.empty() ? Lines{"N:", "FN:"} : Lines{"N:", "FN:", row.rev};
    EXPECT_EQ(CardFor(entry, GetUtcOffsetHours(zone)), Card(body));
  }
}

// The properties in the reverse of the card's order; the birthday keeps its date alone,
// unshifted.
TEST(Card, WholeCard) {
  const FakeEntry full =
      FakeEntry()
          .Time(PR_LAST_MODIFICATION_TIME, FileTimeOf({2005, 3, 1, 12, 0, 0}))
          .List(PR_CONTACT_EMAIL_ADDRESSES, {"ann@example.org", "ann.lee@example.com"})
          .Text(PR_EMAIL_ADDRESS, "ann@example.org")
          .Time(PR_BIRTHDAY, FileTimeOf({1970, 1, 31, 20, 0, 0}))
          .Text(PR_PROFESSION, "Chemist").Text(PR_BUSINESS_HOME_PAGE, "http://acme.example")
          .Text(PR_PERSONAL_HOME_PAGE, "http://ann.example").Short(PR_GENDER, 1)
          .Text(PR_HOME_ADDRESS_COUNTRY, "USA").Text(PR_HOME_ADDRESS_POSTAL_CODE, "62565")
          .Text(PR_HOME_ADDRESS_STATE_OR_PROVINCE, "IL").Text(PR_HOME_ADDRESS_CITY, "Shelbyville")
          .Text(PR_HOME_ADDRESS_STREET, "2 Elm St").Text(PR_COUNTRY, "USA")
          .Text(PR_POSTAL_CODE, "62701").Text(PR_STATE_OR_PROVINCE, "IL")
          .Text(PR_LOCALITY, "Springfield").Text(PR_STREET_ADDRESS, "1 Main St")
          .Text(PR_OFFICE_LOCATION, "Room 4").Text(PR_HOME_FAX_NUMBER, "555-0106")
          .Text(PR_BUSINESS_FAX_NUMBER, "555-0105").Text(PR_PAGER_TELEPHONE_NUMBER, "555-0104")
          .Text(PR_MOBILE_TELEPHONE_NUMBER, "555-0103").Text(PR_HOME_TELEPHONE_NUMBER, "555-0102")
          .Text(PR_BUSINESS_TELEPHONE_NUMBER, "555-0101").Text(PR_COMMENT, "Prefers mornings")
          .Text(PR_TITLE, "Head of Research").Text(PR_DEPARTMENT_NAME, "Research")
          .Text(PR_COMPANY_NAME, "Acme").Text(PR_NICKNAME, "Annie").Text(PR_DISPLAY_NAME, "Ann Lee")
          .Text(PR_GENERATION, "Jr.").Text(PR_DISPLAY_NAME_PREFIX, "Dr.")
          .Text(PR_GIVEN_NAME, "Ann").Text(PR_SURNAME, "Lee");
  EXPECT_EQ(CardFor(full, 8.0f),
            Card({"N:Lee;Ann;;Dr.;Jr.", "FN:Ann Lee", "NICKNAME:Annie", "ORG:Acme;Research",
                  "TITLE:Head of Research", "NOTE:Prefers mornings", "TEL;WORK;VOICE:555-0101",
                  "TEL;HOME;VOICE:555-0102", "TEL;CELL;VOICE:555-0103", "TEL;PAGER;VOICE:555-0104",
                  "TEL;WORK;FAX:555-0105", "TEL;HOME;FAX:555-0106",
                  "ADR;WORK:;Room 4;1 Main St;Springfield;IL;62701;USA",
                  "LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Room 4 1 Main St Springfield, IL 62701 USA",
                  "ADR;HOME:;;2 Elm St;Shelbyville;IL;62565;USA",
                  "LABEL;HOME;ENCODING=QUOTED-PRINTABLE:2 Elm St Shelbyville, IL 62565 USA",
                  "X-WAB-GENDER:1", "URL;HOME:http://ann.example", "URL;WORK:http://acme.example",
                  "ROLE:Chemist", "BDAY:19700131", "EMAIL;PREF;INTERNET:ann@example.org",
                  "EMAIL;INTERNET:ann.lee@example.com", "REV:20050301T200000Z"}));
}

TEST(Card, ValuesWithLineBreaksAreQuotedPrintable) {
  const FakeEntry entry = Emails({"a@x\r\n"})
                              .Text(PR_DISPLAY_NAME, "Ann\r\nLee")
                              .Text(PR_SURNAME, "Lee\n")
                              .Text(PR_TITLE, "Head\rof")
                              .Text(PR_COMMENT, "Gate=2\r\nRing twice\nthen wait")
                              .Text(PR_STREET_ADDRESS, "1 Main St\r\nBuilding B");
  EXPECT_EQ(CardFor(entry),
            Card({"N;ENCODING=QUOTED-PRINTABLE:Lee=0A", "FN;ENCODING=QUOTED-PRINTABLE:Ann=0D=0ALee",
                  "TITLE;ENCODING=QUOTED-PRINTABLE:Head=0Dof",
                  "NOTE;ENCODING=QUOTED-PRINTABLE:Gate=3D2=0D=0ARing twice=0Athen wait",
                  "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;1 Main St=0D=0ABuilding B",
                  "LABEL;WORK;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ABuilding B",
                  "EMAIL;INTERNET;ENCODING=QUOTED-PRINTABLE:a@x=0D=0A"}));
}

TEST(Card, ReadThatFailsLosesThatValueOnly) {
  for (const bool throws : {false, true}) {
    // A nickname stored as a number cannot be read as text.
    FakeCall call({With(PR_SURNAME, "Lee").Short(PR_NICKNAME, 1).Text(PR_TITLE, "Buyer")});
    if (throws) call.book->throwing_tag = PR_NICKNAME;
    EXPECT_EQ(Narrow(BuildWabVCard(call.context, 1, 0, 1)), Card({"N:Lee", "FN:", "TITLE:Buyer"}))
        << throws;
  }
}

TEST(Card, EntryOutsideTheListGivesTheMinimalCard) {
  for (const int32_t index : {0, 2}) {
    FakeCall call({With(PR_DISPLAY_NAME, "Ann")});
    EXPECT_EQ(Narrow(BuildWabVCard(call.context, index, 0, 1)), Card({"N:", "FN:"})) << index;
  }
}

// Inside a run every value is read before ExportProgress, whose handler may re-enter the
// component or fail; the log line follows the event.
TEST(Card, InARunHandlerThatReleasesTheEntriesOrFailsCostsNothing) {
  for (const bool fails : {false, true}) {
    FakeCall call({With(PR_DISPLAY_NAME, "Ann").Text(PR_TITLE, "Buyer")});
    call.state.CurrentCount = 4;
    call.on_event = [&call, fails] {
      EXPECT_EQ(call.state.LogText, u"");
      if (fails) throw Error(errors::kInternalError);
      call.state.WabEntries.assign(1, {});
    };
    EXPECT_EQ(Narrow(BuildWabVCard(call.context, 1, 0, 0)), Card({"N:", "FN:Ann", "TITLE:Buyer"}))
        << fails;
    EXPECT_EQ(call.state.ProgressText, u"Ann");
    EXPECT_EQ(call.state.LogText, u"5\u0001Ann\r\n");
  }
}

}  // namespace
}  // namespace orvane::testing
