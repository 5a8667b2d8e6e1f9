#include <array>
#include <string_view>

#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/mail_store/saved_item_time.h"
#include "vcard/trailing_semicolons.h"
#include "vcard/vcard_text.h"

namespace orvane::posix {
namespace {

constexpr int32_t kDistributionListClass = 69;

// A line written with its value only when that value is not empty.
struct SimpleLine {
  std::u16string_view name;
  std::u16string MailItem::*value;
};

constexpr std::array<SimpleLine, 6> kTitleNoteAndTelephones = {{
    {u"TITLE", &MailItem::job_title},
    {u"NOTE", &MailItem::body},
    {u"TEL;WORK;VOICE", &MailItem::business_telephone},
    {u"TEL;HOME;VOICE", &MailItem::home_telephone},
    {u"TEL;CELL;VOICE", &MailItem::mobile_telephone},
    {u"TEL;WORK;FAX", &MailItem::business_fax},
}};

bool IsDistributionList(const MailItem& item) { return item.item_class == kDistributionListClass; }

bool HasNameParts(const MailItem& item) {
  return !item.last_name.empty() || !item.first_name.empty() || !item.middle_name.empty() ||
         !item.title.empty() || !item.suffix.empty();
}

// Structured values lose their empty trailing parts.
void AddStructuredLine(VCardText& card, std::u16string_view name, std::u16string value) {
  card.AddLineIfValue(name, StripTrailingSemicolons(value));
}

void AddName(VCardText& card, const MailItem& item) {
  // vCard 2.1 requires the N line, empty or not.
  if (IsDistributionList(item)) {
    card.AddLine(u"N", item.subject);
    return;
  }
  std::u16string name = item.last_name + u";" + item.first_name + u";" + item.middle_name + u";" +
                        item.title + u";" + item.suffix;
  card.AddLine(u"N", StripTrailingSemicolons(name));
}

// A list, or an item without name parts, is known by its subject; either name
// stands in for the other when empty.
void AddFormattedName(VCardText& card, const MailItem& item) {
  if (IsDistributionList(item)) {
    card.AddLineIfValue(u"FN", item.subject);
    return;
  }
  const bool by_subject = !HasNameParts(item);
  const std::u16string& first = by_subject ? item.subject : item.full_name;
  const std::u16string& second = by_subject ? item.full_name : item.subject;
  card.AddLineIfValue(u"FN", first.empty() ? second : first);
}

std::u16string AddressValue(const MailPostalAddress& address) {
  return u";;" + address.street + u";" + address.city + u";" + address.state + u";" +
         address.postal_code + u";" + address.country;
}

void AppendPart(std::u16string& text, std::u16string_view separator, const std::u16string& part) {
  if (part.empty()) return;
  if (!text.empty()) text += separator;
  text += part;
}

// The address as it is printed: street, then "city, state postal code", then
// the country, each on its own line.
std::u16string AddressLabel(const MailPostalAddress& address) {
  std::u16string town;
  AppendPart(town, u"", address.city);
  AppendPart(town, u", ", address.state);
  AppendPart(town, u" ", address.postal_code);
  std::u16string label;
  AppendPart(label, u"\r\n", address.street);
  AppendPart(label, u"\r\n", town);
  AppendPart(label, u"\r\n", address.country);
  return label;
}

void AddAddress(VCardText& card, std::u16string_view adr, std::u16string_view label,
                const MailPostalAddress& address) {
  if (address.IsEmpty()) return;
  AddStructuredLine(card, adr, AddressValue(address));
  card.AddLineIfValue(label, AddressLabel(address));
}

// The first address that is not empty is the preferred one.
void AddEmailAddresses(VCardText& card, const MailItem& item) {
  bool preferred_written = false;
  for (const std::u16string& address : item.email_addresses) {
    if (address.empty()) continue;
    card.AddLine(preferred_written ? u"EMAIL;INTERNET" : u"EMAIL;PREF;INTERNET", address);
    preferred_written = true;
  }
}

void AddBirthday(VCardText& card, const MailItem& item, const TimeZoneInformation& zone) {
  if (!item.birthday) return;
  if (const auto text = LocalDateText(*item.birthday, zone)) card.AddLine(u"BDAY", *text);
}

void AddRevision(VCardText& card, const MailItem& item, const TimeZoneInformation& zone) {
  if (!item.last_modification_time) return;
  if (const auto text = UtcTimeText(*item.last_modification_time, zone)) {
    card.AddLine(u"REV", *text);
  }
}

}  // namespace

std::u16string SavedVCardText(const MailItem& item, CodePage& code_page, TimeZone& time_zone) {
  const TimeZoneInformation zone = time_zone.GetTimeZoneInformation();
  VCardText card(code_page);
  card.AddLine(u"BEGIN", u"VCARD");
  card.AddLine(u"VERSION", u"2.1");
  AddName(card, item);
  AddFormattedName(card, item);
  AddStructuredLine(card, u"ORG", item.company_name + u";" + item.department);
  for (const SimpleLine& line : kTitleNoteAndTelephones) {
    card.AddLineIfValue(line.name, item.*line.value);
  }
  AddAddress(card, u"ADR;WORK", u"LABEL;WORK", item.business_address);
  AddAddress(card, u"ADR;HOME", u"LABEL;HOME", item.home_address);
  card.AddLineIfValue(u"URL;WORK", item.web_page);
  AddBirthday(card, item, zone);
  AddEmailAddresses(card, item);
  AddRevision(card, item, zone);
  card.AddLine(u"END", u"VCARD");
  return card.text() + u"\r\n";
}

}  // namespace orvane::posix
