#pragma once

#include <cstdint>

namespace orvane {

// What GetTimeZoneInformation reports: UTC = local time + bias, in minutes.
struct TimeZoneInformation {
  static constexpr int32_t kUnknown = 0;   // the zone has no daylight time
  static constexpr int32_t kStandard = 1;  // standard time is in force
  static constexpr int32_t kDaylight = 2;  // daylight time is in force
  static constexpr int32_t kInvalid = -1;  // the call failed

  int32_t result = kUnknown;
  int32_t bias = 0;
  int32_t standard_bias = 0;
  int32_t daylight_bias = 0;
};

class TimeZone {
 public:
  virtual ~TimeZone() = default;
  virtual TimeZoneInformation GetTimeZoneInformation() = 0;
};

}  // namespace orvane
