#include "addressbook/vcard_values.h"

#include "component/ascii_text.h"
#include "addressbook/property_reader.h"
#include "addressbook/vcard_writer.h"
#include "platform/automation_date.h"

namespace orvane {
namespace {

void AppendIfValue(std::u16string& label, std::u16string_view value, std::u16string_view after) {
  if (value.empty()) return;
  label += value;
  label += after;
}

void TrimBlanks(std::u16string& text) {
  while (!text.empty() && text.back() == u' ') text.pop_back();
  size_t first = 0;
  while (first < text.size() && text[first] == u' ') ++first;
  text.erase(0, first);
}

void DropCommaThatEnds(std::u16string& text) {
  if (text.empty() || text.back() != u',') return;
  // Only the first comma of the text counts.
  if (std::u16string_view(text).substr(0, text.size() - 1).find(u',') == std::u16string::npos) {
    text.pop_back();
  }
}

}  // namespace

bool PostalAddress::IsEmpty() const {
  return office.empty() && street.empty() && city.empty() && region.empty() &&
         postal_code.empty() && country.empty();
}

std::u16string AddressLabel(const PostalAddress& address) {
  std::u16string label;
  label.reserve(address.office.size() + address.street.size() + address.city.size() +
                address.region.size() + address.postal_code.size() + address.country.size() + 8);
  AppendIfValue(label, address.office, u" ");
  AppendIfValue(label, address.street, u" ");
  AppendIfValue(label, address.city, u", ");
  AppendIfValue(label, address.region, u" ");
  AppendIfValue(label, address.postal_code, u" ");
  AppendIfValue(label, address.country, u" ");
  TrimBlanks(label);
  DropCommaThatEnds(label);
  TrimBlanks(label);
  return label;
}

std::optional<std::u16string> BirthdayText(std::u16string_view date_text) {
  const auto date = ReadWabDateText(date_text);
  if (!date) return std::nullopt;
  const auto parts = PartsFromAutomationDate(*date);
  if (!parts) return std::nullopt;
  std::u16string text;
  text.reserve(8);
  AppendDigits(text, parts->year, 4);
  AppendDigits(text, parts->month, 2);
  AppendDigits(text, parts->day, 2);
  return text;
}

std::optional<std::u16string> RevisionText(std::u16string_view date_text,
                                           float UtcOffsetHours) {
  const auto date = ReadWabDateText(date_text);
  if (!date) return std::nullopt;
  const auto shifted = ShiftByUtcOffset(*date, UtcOffsetHours);
  if (!shifted) return std::nullopt;
  const auto parts = PartsFromAutomationDate(*shifted);
  if (!parts) return std::nullopt;
  std::u16string text;
  text.reserve(16);
  AppendDigits(text, parts->year, 4);
  AppendDigits(text, parts->month, 2);
  AppendDigits(text, parts->day, 2);
  text += u'T';
  AppendDigits(text, parts->hour, 2);
  AppendDigits(text, parts->minute, 2);
  AppendDigits(text, parts->second, 2);
  text += u'Z';
  return text;
}

}  // namespace orvane
