#pragma once

#include <cstdint>
#include <iterator>
#include <string>

namespace orvane {

// Appends `number` in decimal, with zeros before it to make at least `width`
// digits, and "-" before those when it is negative.
inline void AppendDigits(std::u16string& text, int64_t number, int width = 1) {
  // Dates and times, the most of all numbers written, in one short step.
  if (number >= 0 && number < 10000 && width <= 4) {
    const auto value = static_cast<unsigned>(number);
    const char16_t digits[4] = {
        static_cast<char16_t>(u'0' + value / 1000), static_cast<char16_t>(u'0' + value / 100 % 10),
        static_cast<char16_t>(u'0' + value / 10 % 10), static_cast<char16_t>(u'0' + value % 10)};
    const int needed = value >= 1000 ? 4 : value >= 100 ? 3 : value >= 10 ? 2 : 1;
    const int count = needed > width ? needed : width;
    text.append(digits + 4 - count, static_cast<size_t>(count));
    return;
  }
  // Written from the end of a buffer large enough for any width asked here.
  char16_t digits[24];
  char16_t* first = std::end(digits);
  // Unsigned, so that the most negative number has its digits too.
  uint64_t rest = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  do {
    *--first = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  while (std::end(digits) - first < width && first > std::begin(digits) + 1) *--first = u'0';
  if (number < 0) *--first = u'-';
  text.append(first, std::end(digits));
}

// A number in decimal: a leading "-" when negative, no leading zeros.
inline std::u16string DecimalText(int64_t number) {
  std::u16string text;
  AppendDigits(text, number);
  return text;
}

}  // namespace orvane
