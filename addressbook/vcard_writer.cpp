#include "addressbook/vcard_writer.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <string>

#include "addressbook/mapi_tags.h"
#include "addressbook/vcard_values.h"
#include "addressbook/wab_entry_values.h"
#include "component/ascii_text.h"
#include "vcard/vcard_text.h"

namespace orvane {
namespace {

using namespace tags;
// Texts of a known length: a plain literal is measured anew at every call.
using namespace std::string_view_literals;

// Every property the card is made of.
constexpr std::array<int32_t, 35> kCardTags = {
    PR_SURNAME, PR_GIVEN_NAME, PR_DISPLAY_NAME_PREFIX, PR_GENERATION, PR_DISPLAY_NAME,
    PR_NICKNAME, PR_COMPANY_NAME, PR_DEPARTMENT_NAME, PR_TITLE, PR_COMMENT,
    PR_BUSINESS_TELEPHONE_NUMBER, PR_HOME_TELEPHONE_NUMBER, PR_MOBILE_TELEPHONE_NUMBER,
    PR_PAGER_TELEPHONE_NUMBER, PR_BUSINESS_FAX_NUMBER, PR_HOME_FAX_NUMBER, PR_OFFICE_LOCATION,
    PR_STREET_ADDRESS, PR_LOCALITY, PR_STATE_OR_PROVINCE, PR_POSTAL_CODE, PR_COUNTRY,
    PR_HOME_ADDRESS_STREET, PR_HOME_ADDRESS_CITY, PR_HOME_ADDRESS_STATE_OR_PROVINCE,
    PR_HOME_ADDRESS_POSTAL_CODE, PR_HOME_ADDRESS_COUNTRY, PR_GENDER, PR_PERSONAL_HOME_PAGE,
    PR_BUSINESS_HOME_PAGE, PR_PROFESSION, PR_BIRTHDAY, PR_EMAIL_ADDRESS,
    PR_CONTACT_EMAIL_ADDRESSES, PR_LAST_MODIFICATION_TIME};

constexpr WabTagSet kCardTagSet(kCardTags);

// The card's values by tag. Every tag the card names is a constant, and so its
// place in the set is found when the program is compiled, not at every value.
class CardValues {
 public:
  explicit CardValues(const WabEntryValues& values) : values_(values) {}
  std::u16string_view operator[](int32_t tag) const {
    return values_.TextAt(kCardTagSet.PlaceOf(tag));
  }
  std::optional<DateTimeParts> DateOf(int32_t tag) const {
    return values_.DateAt(kCardTagSet.PlaceOf(tag));
  }

 private:
  const WabEntryValues& values_;
};

// A line written with its value only when that value is not empty.
struct SimpleLine {
  std::u16string_view name;
  int32_t tag;
};

constexpr std::array<SimpleLine, 8> kTitleNoteAndTelephones = {{
    {u"TITLE", PR_TITLE},
    {u"NOTE", PR_COMMENT},
    {u"TEL;WORK;VOICE", PR_BUSINESS_TELEPHONE_NUMBER},
    {u"TEL;HOME;VOICE", PR_HOME_TELEPHONE_NUMBER},
    {u"TEL;CELL;VOICE", PR_MOBILE_TELEPHONE_NUMBER},
    {u"TEL;PAGER;VOICE", PR_PAGER_TELEPHONE_NUMBER},
    {u"TEL;WORK;FAX", PR_BUSINESS_FAX_NUMBER},
    {u"TEL;HOME;FAX", PR_HOME_FAX_NUMBER},
}};

constexpr std::array<SimpleLine, 3> kUrlsAndRole = {{
    {u"URL;HOME", PR_PERSONAL_HOME_PAGE},
    {u"URL;WORK", PR_BUSINESS_HOME_PAGE},
    {u"ROLE", PR_PROFESSION},
}};

template <size_t N>
void AddSimpleLines(VCardText& card, const CardValues& values,
                    const std::array<SimpleLine, N>& lines) {
  for (const SimpleLine& line : lines) card.AddLineIfValue(line.name, values[line.tag]);
}

PostalAddress WorkAddress(const CardValues& values) {
  return {values[PR_OFFICE_LOCATION], values[PR_STREET_ADDRESS], values[PR_LOCALITY],
          values[PR_STATE_OR_PROVINCE], values[PR_POSTAL_CODE],  values[PR_COUNTRY]};
}

PostalAddress HomeAddress(const CardValues& values) {
  return {{},
          values[PR_HOME_ADDRESS_STREET],
          values[PR_HOME_ADDRESS_CITY],
          values[PR_HOME_ADDRESS_STATE_OR_PROVINCE],
          values[PR_HOME_ADDRESS_POSTAL_CODE],
          values[PR_HOME_ADDRESS_COUNTRY]};
}

void AddName(VCardText& card, const CardValues& values) {
  card.AddLine(u"N"sv, {values[PR_SURNAME], u";"sv, values[PR_GIVEN_NAME], u";;"sv,
                      values[PR_DISPLAY_NAME_PREFIX], u";"sv, values[PR_GENERATION]});
  card.StripTrailingSemicolons();
}

void AddOrganization(VCardText& card, const CardValues& values) {
  const std::u16string_view company = values[PR_COMPANY_NAME];
  const std::u16string_view department = values[PR_DEPARTMENT_NAME];
  if (!company.empty() || !department.empty())
    card.AddLine(u"ORG"sv, {company, u";"sv, department});
  // Also when no ORG line was written: the strip then works on the line before.
  card.StripTrailingSemicolons();
}

// The ADR value: ";", office, ";", street, ";", city, ";", region, ";", postal
// code, ";", country; its trailing ";" are stripped with the card's.
void AddAddress(VCardText& card, std::u16string_view adr, std::u16string_view label,
                const PostalAddress& address, std::u16string& label_text) {
  if (address.IsEmpty()) return;
  card.AddLine(adr, {u";"sv, address.office, u";"sv, address.street, u";"sv, address.city, u";"sv,
                     address.region, u";"sv, address.postal_code, u";"sv, address.country});
  card.StripTrailingSemicolons();
  WriteAddressLabel(address, label_text);
  card.AddQuotedPrintableLine(label, label_text);
}

void AddGender(VCardText& card, std::u16string_view gender) {
  if (gender == u"1"sv || gender == u"2"sv) card.AddLine(u"X-WAB-GENDER"sv, gender);
}

void AddBirthday(VCardText& card, const std::optional<DateTimeParts>& birthday) {
  if (birthday) card.AddLine(u"BDAY"sv, BirthdayText(*birthday).view());
}

// Equality of texts by their bytes at once (std::equal compares characters
// as memory), which is all equality needs: the comparison of string views goes
// character by character, for their order.
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

void AddEmailAddresses(VCardText& card, const CardValues& values) {
  const std::u16string_view preferred = values[PR_EMAIL_ADDRESS];
  card.AddLineIfValue(u"EMAIL;PREF;INTERNET"sv, preferred);
  ForEachListElement(values[PR_CONTACT_EMAIL_ADDRESSES], [&](std::u16string_view address) {
    if (!SameText(address, preferred)) card.AddLine(u"EMAIL;INTERNET"sv, address);
  });
}

void AddRevision(VCardText& card, const std::optional<DateTimeParts>& modified,
                 float UtcOffsetHours) {
  if (!modified) return;
  if (const auto text = RevisionText(*modified, UtcOffsetHours))
    card.AddLine(u"REV"sv, text->view());
}

// At 32767 the count cannot grow; the entry is written all the same.
void CountEntry(SharedState& state) {
  if (state.CurrentCount < std::numeric_limits<int16_t>::max()) ++state.CurrentCount;
}

void ReportProgress(CallContext& context, std::u16string_view display_name) {
  context.state.ProgressText.assign(display_name);
  try {
    context.RaiseExportEvent(0);
  } catch (const std::exception&) {
    // A failing event must not cost the entry its card or its log line.
  }
  std::u16string& log = context.state.LogText;
  AppendDigits(log, context.state.CurrentCount);
  log += u'\u0001';
  log += display_name;
  log += u"\r\n"sv;
}

std::u16string ComposeCard(CallContext& context, const CardValues& values,
                           float UtcOffsetHours, bool in_run) {
  VCardText card(*context.platform.code_page);
  card.AddLine(u"BEGIN"sv, u"VCARD"sv);
  card.AddLine(u"VERSION"sv, u"2.1"sv);
  AddName(card, values);
  card.AddLine(u"FN"sv, values[PR_DISPLAY_NAME]);
  if (in_run) ReportProgress(context, values[PR_DISPLAY_NAME]);
  card.AddLineIfValue(u"NICKNAME"sv, values[PR_NICKNAME]);
  AddOrganization(card, values);
  AddSimpleLines(card, values, kTitleNoteAndTelephones);
  std::u16string label_text;
  AddAddress(card, u"ADR;WORK"sv, u"LABEL;WORK"sv, WorkAddress(values), label_text);
  AddAddress(card, u"ADR;HOME"sv, u"LABEL;HOME"sv, HomeAddress(values), label_text);
  AddGender(card, values[PR_GENDER]);
  AddSimpleLines(card, values, kUrlsAndRole);
  AddBirthday(card, values.DateOf(PR_BIRTHDAY));
  AddEmailAddresses(card, values);
  AddRevision(card, values.DateOf(PR_LAST_MODIFICATION_TIME), UtcOffsetHours);
  card.AddLine(u"END"sv, u"VCARD"sv);
  return card.TakeText();
}

}  // namespace

std::u16string BuildWabVCard(CallContext& context, int32_t EntryIndex, float UtcOffsetHours,
                             int16_t SingleItem) {
  const bool in_run = SingleItem == 0;
  // Every value is read before the progress event, whose handler may re-enter the component.
  const WabEntryValues values = GatherWabEntryValues(context, EntryIndex, kCardTagSet);
  if (in_run) CountEntry(context.state);
  return ComposeCard(context, CardValues(values), UtcOffsetHours, in_run);
}

}  // namespace orvane
