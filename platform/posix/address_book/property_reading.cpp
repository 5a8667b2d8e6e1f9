#include "platform/posix/address_book/property_reading.h"

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
