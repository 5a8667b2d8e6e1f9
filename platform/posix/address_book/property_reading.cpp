#include "platform/posix/address_book/property_reading.h"

#include <cstring>
#include <limits>

namespace orvane::posix {
namespace {

constexpr int64_t kTicksPerMinute = 600'000'000;

}  // namespace

const Property* LastPropertyOf(const AddressBookEntry& entry, int32_t tag) {
  for (auto property = entry.properties.rbegin(); property != entry.properties.rend(); ++property) {
    if (property->tag() == tag) return &*property;
  }
  return nullptr;
}

int16_t CopyTextOut(std::string_view bytes, char* buffer, int32_t buffer_size,
                    int32_t* required) {
  if (bytes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  const auto needed = static_cast<int32_t>(bytes.size() + 1);
  if (required != nullptr) *required = needed;
  if (buffer == nullptr || buffer_size < needed) return 0;
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return 1;
}

std::optional<FileTime> LocalFileTimeOf(const StoredTime& time, const TimeZoneInformation& zone) {
  // Stored times stay below year 10000, far from the top of 64 bits, and a
  // bias of even 2^32 minutes moves them by less than 2^62 ticks.
  int64_t ticks = static_cast<int64_t>(time.ticks);
  if (time.universal) ticks -= BiasInForceMinutes(zone).value_or(0) * kTicksPerMinute;
  if (ticks < 0) return std::nullopt;
  return FileTime::FromTicks(static_cast<uint64_t>(ticks));
}

std::optional<FileTime> LocalFileTimeOf(const StoredTime& time, TimeZone& zone) {
  return LocalFileTimeOf(time, time.universal ? zone.GetTimeZoneInformation()
                                              : TimeZoneInformation{});
}

}  // namespace orvane::posix
