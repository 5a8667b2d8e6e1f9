#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation_date.h"
#include "platform/character_scan.h"

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
// Written over `label`, whose room a card's two addresses share.
void WriteAddressLabel(const PostalAddress& address, std::u16string& label);

// Calls `visit` with each element of a list value, the parts between its ";"
// characters, empty ones included; with none for the empty text.
template <typename Visit>
void ForEachListElement(std::u16string_view list, Visit visit) {
  using character_scan::Lanes;
  if (list.empty()) return;
  for (size_t start = 0;;) {
    // Eight characters at a time: lists of addresses are long.
    const size_t semicolon =
        EndOfRun(list, start, [](Lanes lanes) { return lanes == character_scan::Splat(u';'); });
    visit(list.substr(start, semicolon - start));
    if (semicolon == list.size()) return;
    start = semicolon + 1;
  }
}

// The few characters of a date written as digits, kept in place: a card's
// dates need no text of their own.
class DateDigits {
 public:
  std::u16string_view view() const { return {characters_.data(), size_}; }
  // `value` in exactly `width` digits; it is 0 or more and has no more digits.
  void Append(int value, int width);
  void Append(char16_t character) { characters_[size_++] = character; }

 private:
  std::array<char16_t, 16> characters_{};
  size_t size_ = 0;
};

// The date as "yyyyMMdd".
DateDigits BirthdayText(const DateTimeParts& date);

// The date shifted by the offset, as "yyyyMMddTHHmmssZ"; nothing when the shift
// leaves the range of dates.
std::optional<DateDigits> RevisionText(const DateTimeParts& date, float UtcOffsetHours);

}  // namespace orvane
