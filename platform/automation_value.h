#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/clock.h"

namespace orvane {

// A date held in an automation value, kept apart from a plain double.
struct DateValue {
  AutomationDate date = 0;
  friend bool operator==(const DateValue&, const DateValue&) = default;
};

// What a late-bound call passes and returns: the automation variant types the
// component meets. std::monostate is the empty value (also: nothing returned).
using AutomationValue =
    std::variant<std::monostate, bool, int16_t, int32_t, double, DateValue, std::u16string>;

// The conversions the automation runtime applies when a value is taken as a
// given type. Each throws orvane::Error 13 for a value of a kind it cannot
// convert and 6 for a number out of range.

// Text: as written; numbers in decimal; booleans "True"/"False"; empty "".
std::u16string TextOf(const AutomationValue& value);
// Date: dates and numbers as they stand; empty is day 0.
AutomationDate DateOf(const AutomationValue& value);
// 32-bit integer: integers; booleans -1/0; doubles rounded half to even;
// decimal text; empty 0.
int32_t Int32Of(const AutomationValue& value);

}  // namespace orvane
