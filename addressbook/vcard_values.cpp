#include "addressbook/vcard_values.h"

#include <array>
#include <cstdio>

#include "component/ascii_text.h"
#include "addressbook/property_reader.h"
#include "addressbook/vcard_writer.h"
#include "platform/automation_date.h"

namespace orvane {
namespace {

void AppendIfValue(std::u16string& label, const std::u16string& value, std::u16string_view after) {
  if (value.empty()) return;
  label += value;
  label += after;
}

void TrimBlanks(std::u16string& text) {
  const size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(u' ') + 1);
  text.erase(0, first);
}

void DropCommaThatEnds(std::u16string& text) {
  const size_t comma = text.find(u',');
  if (comma != std::u16string::npos && comma + 1 == text.size()) text.pop_back();
}

}  // namespace

bool PostalAddress::IsEmpty() const {
  return office.empty() && street.empty() && city.empty() && region.empty() &&
         postal_code.empty() && country.empty();
}

std::u16string AddressValue(const PostalAddress& address) {
  return u";" + address.office + u";" + address.street + u";" + address.city + u";" +
         address.region + u";" + address.postal_code + u";" + address.country;
}

std::u16string AddressLabel(const PostalAddress& address) {
  std::u16string label;
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

std::vector<std::u16string> SplitAtSemicolons(const std::u16string& list) {
  std::vector<std::u16string> elements;
  if (list.empty()) return elements;
  size_t start = 0;
  for (size_t semicolon = list.find(u';'); semicolon != std::u16string::npos;
       semicolon = list.find(u';', start)) {
    elements.push_back(list.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  elements.push_back(list.substr(start));
  return elements;
}

std::optional<std::u16string> BirthdayText(const std::u16string& date_text) {
  const auto date = ReadWabDateText(date_text);
  if (!date) return std::nullopt;
  const auto parts = PartsFromAutomationDate(*date);
  if (!parts) return std::nullopt;
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%04d%02d%02d", parts->year, parts->month, parts->day);
  return AsciiToUtf16(text.data());
}

std::optional<std::u16string> RevisionText(const std::u16string& date_text,
                                           float UtcOffsetHours) {
  const auto date = ReadWabDateText(date_text);
  if (!date) return std::nullopt;
  const auto shifted = ShiftByUtcOffset(*date, UtcOffsetHours);
  if (!shifted) return std::nullopt;
  const auto parts = PartsFromAutomationDate(*shifted);
  if (!parts) return std::nullopt;
  std::array<char, 24> text{};
  std::snprintf(text.data(), text.size(), "%04d%02d%02dT%02d%02d%02dZ", parts->year, parts->month,
                parts->day, parts->hour, parts->minute, parts->second);
  return AsciiToUtf16(text.data());
}

}  // namespace orvane
