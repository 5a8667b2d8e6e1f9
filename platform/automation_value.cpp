#include "platform/automation_value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/error.h"

namespace orvane {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::u16string DecimalOf(int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string TextOfDouble(double number) {
  if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15) {
    return DecimalOf(static_cast<int64_t>(number));
  }
  // Shortest form that reads back to the same number.
  char buffer[32];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, number);
    if (std::strtod(buffer, nullptr) == number) break;
  }
  const std::string text(buffer);
  return std::u16string(text.begin(), text.end());
}

int32_t Int32OfDouble(double number) {
  const double rounded = std::nearbyint(number);  // the default mode rounds half to even
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max())) {
    throw Error(errors::kOverflow);
  }
  return static_cast<int32_t>(rounded);
}

int32_t Int32OfText(const std::u16string& text) {
  size_t position = 0;
  while (position < text.size() && text[position] == u' ') ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == u'-' || text[position] == u'+')) {
    negative = text[position] == u'-';
    ++position;
  }
  const size_t first_digit = position;
  int64_t value = 0;
  for (; position < text.size() && text[position] >= u'0' && text[position] <= u'9'; ++position) {
    value = value * 10 + (text[position] - u'0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) throw Error(errors::kOverflow);
  }
  while (position < text.size() && text[position] == u' ') ++position;
  if (position == first_digit || position != text.size()) throw Error(errors::kTypeMismatch);
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) throw Error(errors::kOverflow);
  return static_cast<int32_t>(value);
}

}  // namespace

std::u16string TextOf(const AutomationValue& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return std::u16string(); },
                 [](bool flag) { return std::u16string(flag ? u"True" : u"False"); },
                 [](int16_t number) { return DecimalOf(number); },
                 [](int32_t number) { return DecimalOf(number); },
                 [](double number) { return TextOfDouble(number); },
                 // Date texts depend on the user's settings; no caller asks for one.
                 [](const DateValue&) -> std::u16string { throw Error(errors::kTypeMismatch); },
                 [](const std::u16string& text) { return text; }},
      value);
}

AutomationDate DateOf(const AutomationValue& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return AutomationDate{0}; },
                 [](bool) -> AutomationDate { throw Error(errors::kTypeMismatch); },
                 [](int16_t number) { return AutomationDate(number); },
                 [](int32_t number) { return AutomationDate(number); },
                 [](double number) { return number; },
                 [](const DateValue& date) { return date.date; },
                 // Reading a date text would depend on the user's settings.
                 [](const std::u16string&) -> AutomationDate { throw Error(errors::kTypeMismatch); }},
      value);
}

int32_t Int32Of(const AutomationValue& value) {
  return std::visit(Overloaded{[](std::monostate) { return int32_t{0}; },
                               [](bool flag) { return flag ? int32_t{-1} : int32_t{0}; },
                               [](int16_t number) { return int32_t{number}; },
                               [](int32_t number) { return number; },
                               [](double number) { return Int32OfDouble(number); },
                               [](const DateValue& date) { return Int32OfDouble(date.date); },
                               [](const std::u16string& text) { return Int32OfText(text); }},
                    value);
}

}  // namespace orvane
