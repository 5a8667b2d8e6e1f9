#include "platform/posix/mail_store/saved_item_time.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "platform/automation_date.h"

namespace orvane::posix {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
// Far beyond year 9999, yet with room for any shift by two 32-bit minute counts.
constexpr uint64_t kLargestTicks = std::numeric_limits<int64_t>::max() / 2;

std::optional<DateTimeParts> PartsIn(const StoredTime& time, const TimeZoneInformation& zone,
                                     bool universal) {
  if (time.ticks > kLargestTicks) return std::nullopt;
  auto ticks = static_cast<int64_t>(time.ticks);
  if (time.universal != universal) {
    const auto bias = BiasInForceMinutes(zone);
    if (!bias) return std::nullopt;
    ticks += (universal ? *bias : -*bias) * kTicksPerMinute;
  }
  if (ticks < 0) return std::nullopt;
  const DateTimeParts parts = PartsFromSeconds(ticks / kTicksPerSecond - kSecondsFrom1601To1970);
  if (parts.year > 9999) return std::nullopt;
  return parts;
}

std::u16string AsciiText(const char* text) {
  std::u16string wide;
  for (; *text != '\0'; ++text) wide += static_cast<char16_t>(*text);
  return wide;
}

std::u16string DateText(const DateTimeParts& parts, const char* time_part) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%04d%02d%02d%s", parts.year, parts.month, parts.day,
                time_part);
  return AsciiText(text.data());
}

}  // namespace

std::optional<std::u16string> UtcTimeText(const StoredTime& time,
                                          const TimeZoneInformation& zone) {
  const auto parts = PartsIn(time, zone, true);
  if (!parts) return std::nullopt;
  std::array<char, 16> time_part{};
  std::snprintf(time_part.data(), time_part.size(), "T%02d%02d%02dZ", parts->hour, parts->minute,
                parts->second);
  return DateText(*parts, time_part.data());
}

std::optional<std::u16string> LocalDateText(const StoredTime& time,
                                            const TimeZoneInformation& zone) {
  const auto parts = PartsIn(time, zone, false);
  if (!parts) return std::nullopt;
  return DateText(*parts, "");
}

std::optional<std::u16string> LocalDayStartText(const StoredTime& time,
                                                const TimeZoneInformation& zone) {
  const auto parts = PartsIn(time, zone, false);
  if (!parts) return std::nullopt;
  return DateText(*parts, "T000000");
}

}  // namespace orvane::posix
