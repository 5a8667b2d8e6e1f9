#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// A postal address as the card writes it; a home address has no office. The
// parts are the entry's own values.
struct PostalAddress {
  std::u16string_view office;
  std::u16string_view street;
  std::u16string_view city;
  std::u16string_view region;
  std::u16string_view postal_code;
  std::u16string_view country;

  bool IsEmpty() const;
};

// The LABEL text: the values that are not empty, each followed by a blank (the
// city by ", "), trimmed of blanks; a first comma that ends the text is dropped.
std::u16string AddressLabel(const PostalAddress& address);

// Calls `visit` with each element of a list value, the parts between its ";"
// characters, empty ones included; with none for the empty text.
template <typename Visit>
void ForEachListElement(std::u16string_view list, Visit visit) {
  if (list.empty()) return;
  for (size_t start = 0;;) {
    const size_t semicolon = list.find(u';', start);
    visit(list.substr(start, semicolon - start));
    if (semicolon == std::u16string_view::npos) return;
    start = semicolon + 1;
  }
}

// A date text as "yyyyMMdd"; nothing when it is not a date.
std::optional<std::u16string> BirthdayText(std::u16string_view date_text);

// A date text shifted by the offset, as "yyyyMMddTHHmmssZ"; nothing when it is
// not a date or the shift leaves the range of dates.
std::optional<std::u16string> RevisionText(std::u16string_view date_text, float UtcOffsetHours);

}  // namespace orvane
