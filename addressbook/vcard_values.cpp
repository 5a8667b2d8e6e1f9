#include "addressbook/vcard_values.h"

#include "addressbook/vcard_writer.h"
#include "platform/automation_date.h"

namespace orvane {
namespace {

// Texts of a known length: a plain literal is measured anew at every call.
using namespace std::string_view_literals;

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

void WriteAddressLabel(const PostalAddress& address, std::u16string& label) {
  label.clear();
  label.reserve(address.office.size() + address.street.size() + address.city.size() +
                address.region.size() + address.postal_code.size() + address.country.size() + 8);
  AppendIfValue(label, address.office, u" "sv);
  AppendIfValue(label, address.street, u" "sv);
  AppendIfValue(label, address.city, u", "sv);
  AppendIfValue(label, address.region, u" "sv);
  AppendIfValue(label, address.postal_code, u" "sv);
  AppendIfValue(label, address.country, u" "sv);
  TrimBlanks(label);
  DropCommaThatEnds(label);
  TrimBlanks(label);
}

void DateDigits::Append(int value, int width) {
  for (size_t place = size_ + static_cast<size_t>(width); place-- > size_; value /= 10) {
    characters_[place] = static_cast<char16_t>(u'0' + value % 10);
  }
  size_ += static_cast<size_t>(width);
}

DateDigits BirthdayText(const DateTimeParts& date) {
  DateDigits text;
  text.Append(date.year, 4);
  text.Append(date.month, 2);
  text.Append(date.day, 2);
  return text;
}

std::optional<DateDigits> RevisionText(const DateTimeParts& date, float UtcOffsetHours) {
  const auto parts = ShiftByUtcOffset(date, UtcOffsetHours);
  if (!parts) return std::nullopt;
  DateDigits text = BirthdayText(*parts);
  text.Append(u'T');
  text.Append(parts->hour, 2);
  text.Append(parts->minute, 2);
  text.Append(parts->second, 2);
  text.Append(u'Z');
  return text;
}

}  // namespace orvane
