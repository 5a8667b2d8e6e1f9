#pragma once

#include <time.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/time_zone.h"

namespace orvane::posix {

// The local zone's offsets east of UTC, in seconds, as probed for one year.
struct ZoneOffsets {
  int32_t standard = 0;
  std::optional<int32_t> daylight;  // none when the zone keeps one time all year
  bool daylight_now = false;
};

// The kernel32 record for those offsets. A zone whose "daylight" time is
// behind its "standard" time (negative daylight saving) is reported the usual
// way round, its summer time as daylight time.
TimeZoneInformation InformationFromOffsets(const ZoneOffsets& offsets);

// The zone of the TZ database that the process uses (TZ, else /etc/localtime).
// Standard and daylight offsets come from probing January and July of the
// current year and the present moment. An export asks once per item, so the
// answer is kept for the rest of its second unless TZ changes: a zone the
// system changes meanwhile is seen within a second.
class PosixTimeZone final : public TimeZone {
 public:
  using TimeSource = std::function<time_t()>;
  explicit PosixTimeZone(TimeSource now = [] { return ::time(nullptr); });
  TimeZoneInformation GetTimeZoneInformation() override;

 private:
  struct Answer {
    time_t second;
    std::optional<std::string> tz;
    TimeZoneInformation information;
  };

  TimeSource now_;
  std::mutex mutex_;
  std::optional<Answer> last_;
};

}  // namespace orvane::posix
