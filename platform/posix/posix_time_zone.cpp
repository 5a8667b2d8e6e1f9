#include "platform/posix/posix_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <utility>

#include "platform/automation_date.h"

namespace orvane::posix {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

struct LocalOffset {
  int32_t east_seconds = 0;
  bool daylight = false;
};

std::optional<LocalOffset> OffsetAt(time_t moment) {
  std::tm local{};
  if (::localtime_r(&moment, &local) == nullptr) return std::nullopt;
  return LocalOffset{static_cast<int32_t>(local.tm_gmtoff), local.tm_isdst > 0};
}

time_t NoonUtc(int year, int month) {
  return static_cast<time_t>(DaysFromCivil(year, month, 1) * kSecondsPerDay + kSecondsPerDay / 2);
}

// The present moment first, so that its offsets win over the probes'.
ZoneOffsets ProbeOffsets(const LocalOffset& current, int year) {
  std::optional<int32_t> standard;
  std::optional<int32_t> daylight;
  for (const auto& offset : {std::optional(current), OffsetAt(NoonUtc(year, 1)),
                             OffsetAt(NoonUtc(year, 7))}) {
    if (!offset) continue;
    auto& slot = offset->daylight ? daylight : standard;
    if (!slot) slot = offset->east_seconds;
  }
  // A zone flagged as on daylight time all year keeps that one time.
  if (!standard) return {current.east_seconds, std::nullopt, false};
  return {*standard, daylight, current.daylight};
}

}  // namespace

TimeZoneInformation InformationFromOffsets(const ZoneOffsets& offsets) {
  TimeZoneInformation information;
  int32_t standard = offsets.standard;
  if (!offsets.daylight) {
    information.result = TimeZoneInformation::kUnknown;
    information.bias = -standard / 60;
    return information;
  }
  int32_t daylight = *offsets.daylight;
  bool daylight_now = offsets.daylight_now;
  if (daylight < standard) {
    std::swap(daylight, standard);
    daylight_now = !daylight_now;
  }
  information.result =
      daylight_now ? TimeZoneInformation::kDaylight : TimeZoneInformation::kStandard;
  information.bias = -standard / 60;
  information.daylight_bias = -(daylight - standard) / 60;
  return information;
}

PosixTimeZone::PosixTimeZone(TimeSource now) : now_(std::move(now)) {}

TimeZoneInformation PosixTimeZone::GetTimeZoneInformation() {
  const time_t now = now_();
  const char* tz_variable = std::getenv("TZ");
  std::optional<std::string> tz;
  if (tz_variable != nullptr) tz = tz_variable;
  const std::lock_guard lock(mutex_);
  if (last_ && last_->second == now && last_->tz == tz) return last_->information;
  ::tzset();  // localtime_r alone need not notice a changed TZ
  TimeZoneInformation information{TimeZoneInformation::kInvalid, 0, 0, 0};
  if (const std::optional<LocalOffset> current = OffsetAt(now)) {
    const int year = PartsFromSeconds(static_cast<int64_t>(now) + current->east_seconds).year;
    information = InformationFromOffsets(ProbeOffsets(*current, year));
  }
  last_ = Answer{now, std::move(tz), information};
  return information;
}

}  // namespace orvane::posix
