#pragma once

#include <string>

namespace orvane {

// An automation date: days since 30 December 1899, the time of day as fraction.
using AutomationDate = double;

// The current date and time, and their texts as the user's regional settings write them.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual AutomationDate Now() = 0;
  // The date part in the user's short date format.
  virtual std::u16string ShortDateText(AutomationDate date) = 0;
  // The time of day in the user's long time format.
  virtual std::u16string LongTimeText(AutomationDate date) = 0;
};

}  // namespace orvane
