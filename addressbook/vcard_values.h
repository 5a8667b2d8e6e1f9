#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A postal address as the card writes it; a home address has no office.
struct PostalAddress {
  std::u16string office;
  std::u16string street;
  std::u16string city;
  std::u16string region;
  std::u16string postal_code;
  std::u16string country;

  bool IsEmpty() const;
};

// The ADR value: ";", office, ";", street, ";", city, ";", region, ";", postal
// code, ";", country; trailing ";" are left to the card.
std::u16string AddressValue(const PostalAddress& address);

// The LABEL text: the values that are not empty, each followed by a blank (the
// city by ", "), trimmed of blanks; a first comma that ends the text is dropped.
std::u16string AddressLabel(const PostalAddress& address);

// The elements of a list value between its ";" characters, empty ones included;
// none for the empty text.
std::vector<std::u16string> SplitAtSemicolons(const std::u16string& list);

// A date text as "yyyyMMdd"; nothing when it is not a date.
std::optional<std::u16string> BirthdayText(const std::u16string& date_text);

// A date text shifted by the offset, as "yyyyMMddTHHmmssZ"; nothing when it is
// not a date or the shift leaves the range of dates.
std::optional<std::u16string> RevisionText(const std::u16string& date_text, float UtcOffsetHours);

}  // namespace orvane
