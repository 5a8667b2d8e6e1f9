#include "addressbook/vcard_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_call.h"
#include "platform/error.h"

namespace orvane::testing {
namespace {

using namespace tags;
using Lines = std::vector<std::u16string>;
using Zone = TimeZoneInformation;

FakeEntry With(int32_t tag, std::string text) { return FakeEntry().Text(tag, std::move(text)); }
FakeEntry Emails(FakeList list) {
  return FakeEntry().List(PR_CONTACT_EMAIL_ADDRESSES, std::move(list));
}

// The single-item card of the one entry of a fresh book.
std::u16string CardFor(const FakeEntry& entry, float offset = 0, uint32_t code_page = 1252) {
  return BuildWabVCard(CallOver({entry}, code_page)->context, 1, offset, 1);
}

struct CardRow {
  FakeEntry entry;
  Lines lines;  // those after `first`
};

// Each card is BEGIN, VERSION, `first`, the row's lines and END.
void ExpectCards(const std::vector<CardRow>& rows, const Lines& first = {u"N:", u"FN:"}) {
  for (const CardRow& row : rows) {
    Lines body = first;
    body.insert(body.end(), row.lines.begin(), row.lines.end());
    EXPECT_TRUE(SameCard(CardOf(body), CardFor(row.entry)));
  }
}

TEST(Card, NameLines) {
  ExpectCards({{FakeEntry(), {u"N:", u"FN:"}},
               {With(PR_SURNAME, "Lee").Text(PR_GIVEN_NAME, "Ann"), {u"N:Lee;Ann", u"FN:"}},
               {With(PR_GIVEN_NAME, "Ann"), {u"N:;Ann", u"FN:"}},
               {With(PR_DISPLAY_NAME_PREFIX, "Dr."), {u"N:;;;Dr.", u"FN:"}},
               {With(PR_GENERATION, "Jr."), {u"N:;;;;Jr.", u"FN:"}},
               {With(PR_SURNAME, ";;"), {u"N:", u"FN:"}},
               {With(PR_DISPLAY_NAME, "Lee;"), {u"N:", u"FN:Lee"}}},  // no ORG: loses the ;
              {});
}

TEST(Card, OrganizationLineAndTheSemicolonsItStrips) {
  ExpectCards({
      {With(PR_COMPANY_NAME, "Acme"), {u"ORG:Acme"}},
      {With(PR_DEPARTMENT_NAME, "Sales"), {u"ORG:;Sales"}},
      {With(PR_COMPANY_NAME, "Acme;").Text(PR_DEPARTMENT_NAME, "Sales"), {u"ORG:Acme;;Sales"}},
      {With(PR_COMPANY_NAME, "Acme;"), {u"ORG:Acme"}},
      {With(PR_NICKNAME, "Bo;;"), {u"NICKNAME:Bo"}},
      {With(PR_NICKNAME, "Bo;").Text(PR_COMPANY_NAME, "Acme"), {u"NICKNAME:Bo;", u"ORG:Acme"}},
  });
}

TEST(Card, AddressAndLabelLines) {
  const std::u16string work = u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:";
  ExpectCards({
      {With(PR_LOCALITY, "Springfield"), {u"ADR;WORK:;;;Springfield", work + u"Springfield"}},
      {With(PR_LOCALITY, "Springfield").Text(PR_STATE_OR_PROVINCE, "IL"),
       {u"ADR;WORK:;;;Springfield;IL", work + u"Springfield, IL"}},
      {With(PR_COUNTRY, "USA"), {u"ADR;WORK:;;;;;;USA", work + u"USA"}},
      {With(PR_OFFICE_LOCATION, "Room 4"), {u"ADR;WORK:;Room 4", work + u"Room 4"}},
      {With(PR_STREET_ADDRESS, "Main St, 5").Text(PR_LOCALITY, "Springfield"),
       {u"ADR;WORK:;;Main St, 5;Springfield", work + u"Main St, 5 Springfield,"}},
      {With(PR_STREET_ADDRESS, "Flat=3"), {u"ADR;WORK:;;Flat=3", work + u"Flat=3D3"}},
      {With(PR_LOCALITY, "Ha\xFF"), {u"ADR;WORK:;;;Haÿ", work + u"Ha=FF"}},
      {With(PR_STREET_ADDRESS, "1 Main St\r\nBuilding B").Text(PR_LOCALITY, "Springfield"),
       {u"ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;1 Main St=0D=0ABuilding B;Springfield",
        work + u"1 Main St=0D=0ABuilding B Springfield"}},
      {With(PR_HOME_ADDRESS_COUNTRY, "Canada").Text(PR_COUNTRY, "USA"),
       {u"ADR;WORK:;;;;;;USA", work + u"USA", u"ADR;HOME:;;;;;;Canada",
        u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:Canada"}},
  });
}

TEST(Card, GenderBirthdayAndEmailLines) {
  const auto gender = [](int16_t value) { return FakeEntry().Short(PR_GENDER, value); };
  const auto birthday = [](FileTime time) { return FakeEntry().Time(PR_BIRTHDAY, time); };
  ExpectCards({
      {gender(0), {}},
      {gender(1), {u"X-WAB-GENDER:1"}},
      {gender(2), {u"X-WAB-GENDER:2"}},
      {gender(3), {}},
      {gender(-1), {}},
      {birthday(FileTimeOf({1980, 5, 17, 23, 30, 0})), {u"BDAY:19800517"}},
      {birthday(FileTimeOf({1899, 12, 29, 6, 0, 0})), {u"BDAY:18991229"}},
      {birthday(FileTimeOf({1601, 1, 2, 0, 0, 0})), {u"BDAY:16010102"}},
      {birthday(FileTime::FromTicks(~uint64_t{0})), {}},
      {With(PR_EMAIL_ADDRESS, "a@x"), {u"EMAIL;PREF;INTERNET:a@x"}},
      {Emails({"a@x"}).Text(PR_EMAIL_ADDRESS, "a@x"), {u"EMAIL;PREF;INTERNET:a@x"}},
      {Emails({"A@x"}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {u"EMAIL;PREF;INTERNET:a@x", u"EMAIL;INTERNET:A@x"}},
      {Emails({"c@x", "a@x", "b@x"}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {u"EMAIL;PREF;INTERNET:a@x", u"EMAIL;INTERNET:c@x", u"EMAIL;INTERNET:b@x"}},
      {Emails({"b@x", ""}).Text(PR_EMAIL_ADDRESS, "a@x"),
       {u"EMAIL;PREF;INTERNET:a@x", u"EMAIL;INTERNET:b@x", u"EMAIL;INTERNET:"}},
      {Emails({"b@x", ""}), {u"EMAIL;INTERNET:b@x"}},
      {Emails({"a@x;b@x"}), {u"EMAIL;INTERNET:a@x", u"EMAIL;INTERNET:b@x"}},
      {With(PR_TITLE, "a,b;c\\d=e").Text(0x3A00001E, "account"), {u"TITLE:a,b;c\\d=e"}},
  });
}

TEST(Card, RevisionIsTheStoredTimeInUtcShiftedByTheExactOffset) {
  const struct {
    DateTimeParts stored;
    Zone zone;
    std::u16string rev;
  } rows[] = {
      {{2005, 3, 1, 12, 0, 0}, {Zone::kUnknown, -480, 0, 0}, u"REV:20050301T040000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 300, 0, -60}, u"REV:20050301T170000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kDaylight, 300, 0, -60}, u"REV:20050301T160000Z"},
      {{2005, 3, 1, 12, 34, 56}, {Zone::kStandard, 0, 0, 0}, u"REV:20050301T123456Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, -330, 0, 0}, u"REV:20050301T063000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 210, 0, -60}, u"REV:20050301T153000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kUnknown, -345, 0, 0}, u"REV:20050301T061500Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, 300, 30, -60}, u"REV:20050301T173000Z"},
      {{2000, 1, 1, 0, 0, 0}, {Zone::kUnknown, -480, 0, 0}, u"REV:19991231T160000Z"},
      {{2004, 2, 28, 22, 30, 15}, {Zone::kStandard, 210, 0, 0}, u"REV:20040229T020015Z"},
      {{1899, 12, 30, 2, 0, 0}, {Zone::kStandard, -330, 0, 0}, u"REV:18991229T203000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kInvalid, 300, 0, -60}, u"REV:20050301T120000Z"},
      {{2005, 3, 1, 12, 0, 0}, {7, 300, 0, -60}, u"REV:20050301T120000Z"},
      {{2005, 3, 1, 12, 0, 0}, {Zone::kStandard, INT32_MAX, 1, 0}, u"REV:20050301T120000Z"},
  };
  for (const auto& row : rows) {
    FixedTimeZone zone(row.zone);
    const FakeEntry entry =
        FakeEntry().Time(PR_LAST_MODIFICATION_TIME, FileTimeOf(row.stored, 999));
    const std::u16string card = CardFor(entry, GetUtcOffsetHours(zone));
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:", row.rev}), card));
  }
  for (const FileTime time :
       {FileTime::FromTicks(uint64_t{1} << 63), FileTimeOf({9999, 12, 31, 23, 0, 0})}) {
    const FakeEntry entry = FakeEntry().Time(PR_LAST_MODIFICATION_TIME, time);
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), CardFor(entry, 5.0f))) << "no REV line";
  }
}

TEST(Card, WholeCards) {
  const FakeEntry full =  // in the reverse of the card's order
      FakeEntry()
          .Time(PR_LAST_MODIFICATION_TIME, FileTimeOf({2005, 3, 1, 12, 0, 0}))
          .List(PR_CONTACT_EMAIL_ADDRESSES, {"ann@example.org", "ann.lee@example.com"})
          .Text(PR_EMAIL_ADDRESS, "ann@example.org")
          .Time(PR_BIRTHDAY, FileTimeOf({1970, 1, 31, 0, 0, 0}))
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
  const Lines expected = {
      u"BEGIN:VCARD", u"VERSION:2.1", u"N:Lee;Ann;;Dr.;Jr.", u"FN:Ann Lee", u"NICKNAME:Annie",
      u"ORG:Acme;Research", u"TITLE:Head of Research", u"NOTE:Prefers mornings",
      u"TEL;WORK;VOICE:555-0101", u"TEL;HOME;VOICE:555-0102", u"TEL;CELL;VOICE:555-0103",
      u"TEL;PAGER;VOICE:555-0104", u"TEL;WORK;FAX:555-0105", u"TEL;HOME;FAX:555-0106",
      u"ADR;WORK:;Room 4;1 Main St;Springfield;IL;62701;USA",
      u"LABEL;WORK;ENCODING=QUOTED-PRINTABLE:Room 4 1 Main St Springfield, IL 62701 USA",
      u"ADR;HOME:;;2 Elm St;Shelbyville;IL;62565;USA",
      u"LABEL;HOME;ENCODING=QUOTED-PRINTABLE:2 Elm St Shelbyville, IL 62565 USA",
      u"X-WAB-GENDER:1", u"URL;HOME:http://ann.example", u"URL;WORK:http://acme.example",
      u"ROLE:Chemist", u"BDAY:19700131", u"EMAIL;PREF;INTERNET:ann@example.org",
      u"EMAIL;INTERNET:ann.lee@example.com", u"REV:20050301T200000Z", u"END:VCARD"};
  EXPECT_TRUE(SameCard(expected, CardFor(full, 8.0f)));
  EXPECT_EQ(Visible(CardFor(With(PR_DISPLAY_NAME, "Ann Lee"))),
            "BEGIN:VCARD\\r\\nVERSION:2.1\\r\\nN:\\r\\nFN:Ann Lee\\r\\nEND:VCARD");
}

TEST(Card, ValuesWithLineBreaksAreQuotedPrintableAndLongValuesWhole) {
  ExpectCards({{Emails({"a@x\r\n"})
                    .Text(PR_DISPLAY_NAME, "Ann\r\nLee")
                    .Text(PR_SURNAME, "Lee\n")
                    .Text(PR_TITLE, "Head\rof")
                    .Text(PR_COMMENT, "Gate=2\r\nRing twice\nthen wait"),
                {u"N;ENCODING=QUOTED-PRINTABLE:Lee=0A",
                 u"FN;ENCODING=QUOTED-PRINTABLE:Ann=0D=0ALee",
                 u"TITLE;ENCODING=QUOTED-PRINTABLE:Head=0Dof",
                 u"NOTE;ENCODING=QUOTED-PRINTABLE:Gate=3D2=0D=0ARing twice=0Athen wait",
                 u"EMAIL;INTERNET;ENCODING=QUOTED-PRINTABLE:a@x=0D=0A"}}},
              {});
  const std::u16string long_note(1000, u'n');
  ExpectCards({{With(PR_COMMENT, Narrow(long_note)), {u"NOTE:" + long_note}}});
}

TEST(Card, ReadThatFailsLosesThatValueOnly) {
  for (const bool throws : {false, true}) {
    SCOPED_TRACE(throws);
    auto call = CallOver({With(PR_SURNAME, "Lee").Text(PR_GIVEN_NAME, "Ann")
                              .Text(PR_NICKNAME, "Annie").Text(PR_TITLE, "Buyer")});
    call->book->failures.read_number = 3;
    call->book->failures.throw_on_failed_read = throws;
    EXPECT_TRUE(SameCard(CardOf({u"N:Lee;Ann", u"FN:", u"TITLE:Buyer"}),
                         BuildWabVCard(call->context, 1, 0, 1)));
  }
}

TEST(Card, EntryOutsideTheListGivesTheMinimalCard) {
  for (const int32_t index : {0, -1, 2, INT32_MAX, INT32_MIN}) {
    auto call = CallOver({With(PR_DISPLAY_NAME, "Ann")});
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:"}), BuildWabVCard(call->context, index, 0, 1)));
    EXPECT_EQ(call->book->calls.reads, 0) << index;
  }
}

// Inside a run every value is read before ExportProgress, whose handler may re-enter the
// component or fail; the log line follows the event.
TEST(Card, InARunHandlerThatReleasesTheEntriesOrFailsCostsNothing) {
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails);
    auto call = CallOver({With(PR_DISPLAY_NAME, "Ann").Text(PR_TITLE, "Buyer")});
    call->state.CurrentCount = 4;
    call->on_event = [&call, fails] {
      EXPECT_EQ(call->state.LogText, u"");
      if (fails) throw Error(errors::kInternalError);
      call->state.WabEntries.assign(1, {});
    };
    EXPECT_TRUE(SameCard(CardOf({u"N:", u"FN:Ann", u"TITLE:Buyer"}),
                         BuildWabVCard(call->context, 1, 0, 0)));
    EXPECT_EQ(call->state.ProgressText, u"Ann");
    EXPECT_EQ(Visible(call->state.LogText), Visible(u"5\u0001Ann\r\n"));
  }
}

// The bytes a quoted-printable reader takes from the text: "=XX" is byte XX, every other
// character (none outside the BMP here) its bytes in the code page; nothing when a "=" is not
// followed by two hexadecimal digits.
std::optional<std::string> DecodedBytes(CodePage& code_page, const std::u16string& encoded) {
  std::string bytes;
  for (size_t i = 0; i < encoded.size(); ++i) {
    const std::string hex = encoded[i] == u'=' ? Narrow(encoded.substr(i + 1, 2)) : "";
    if (encoded[i] != u'=') {
      bytes += code_page.FromUtf16(encoded.substr(i, 1));
    } else if (hex.size() != 2 || hex.find_first_not_of("0123456789ABCDEF") != hex.npos) {
      return std::nullopt;
    } else {
      bytes += static_cast<char>(std::stoi(hex, nullptr, 16));
      i += 2;
    }
  }
  return bytes;
}

TEST(QuotedPrintable, EncodesEachCharacterAndDecodesBackToTheSameBytes) {
  const struct {
    uint32_t code_page;
    std::u16string text;
    std::optional<std::u16string> encoded;  // none: the round trip alone is checked
  } rows[] = {
      {1252, u"1 Main St Springfield, IL", u"1 Main St Springfield, IL"},
      {1252, u"Main St\r\nFlat=3\rB\n", u"Main St=0D=0AFlat=3D3=0DB=0A"},
      {1252, u"Straße Zürich € \u0001", u"Straße Zürich € \u0001"},
      {1252, u"ÿ", u"=FF"},
      {1252, u"中", u"中"},  // not in the code page: passes as it is
      {950, u"中", u"=A4=A4"},
      {950, u"一", u"=A4@"},  // a trail byte from 0x10 to 0x8F stays a character
      {950, u"Room 5 中=", u"Room 5 =A4=A4=3D"},
      {936, u"丂", u"=81@"},  // a lead byte that is no character of its own is escaped
      {950, u"台北市\r\n中正區 100=一", std::nullopt},
      {936, u"北京市\r\n丂丄丅丆 亐 =1", std::nullopt},
  };
  for (const auto& row : rows) {
    IconvCodePage code_page(row.code_page);
    const std::u16string encoded = EncodeQuotedPrintable(code_page, row.text);
    EXPECT_EQ(Visible(encoded), Visible(row.encoded.value_or(encoded)));
    EXPECT_EQ(DecodedBytes(code_page, encoded), code_page.FromUtf16(row.text)) << Visible(row.text);
  }
  IconvCodePage code_page(1252);
  std::string bytes;
  for (int value = 1; value <= 254; ++value) {
    if (value != '=' && value != '\r' && value != '\n') bytes += static_cast<char>(value);
  }
  const std::u16string text = code_page.ToUtf16(bytes);
  EXPECT_EQ(Visible(EncodeQuotedPrintable(code_page, text)), Visible(text)) << "1 to 254 pass";
}

}  // namespace
}  // namespace orvane::testing
