#pragma once

#include <cstdint>
#include <optional>

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

// UTC minus local time in minutes, as the zone stands now (bias and the standard
// or daylight bias); nothing when the zone cannot be told.
inline std::optional<int64_t> BiasInForceMinutes(const TimeZoneInformation& zone) {
  switch (zone.result) {
    case TimeZoneInformation::kUnknown:
    case TimeZoneInformation::kStandard:
      return int64_t{zone.bias} + zone.standard_bias;
    case TimeZoneInformation::kDaylight:
      return int64_t{zone.bias} + zone.daylight_bias;
    default:
      return std::nullopt;
  }
}

class TimeZone {
 public:
  virtual ~TimeZone() = default;
  virtual TimeZoneInformation GetTimeZoneInformation() = 0;
};

}  // namespace orvane
