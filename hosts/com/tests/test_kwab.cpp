// A stand-in for the address-book library kwab.dll with two fixed entries,
// for the tests of Orvane.dll under Wine.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Context {
  uint64_t handle;
};
struct Entry {
  uint64_t id;
};

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kGivenName = 0x3A06001E;
constexpr int32_t kSurname = 0x3A11001E;
constexpr int32_t kEmailAddress = 0x3003001E;
constexpr int32_t kLastModified = 0x30080040;

struct Property {
  int32_t tag;
  const char* text;
  uint64_t time;  // FILETIME ticks, for time properties
};

// 2024-11-02 09:15:30 and 2023-01-15 18:00:00, as FILETIME ticks.
constexpr uint64_t kTimeAmelia = 133750125300000000ULL;
constexpr uint64_t kTimeBruno = 133182792000000000ULL;

const std::vector<std::vector<Property>>& Entries() {
  static const std::vector<std::vector<Property>> entries{
      {{kDisplayName, "Amelia Hartwell", 0},
       {kGivenName, "Amelia", 0},
       {kSurname, "Hartwell", 0},
       {kEmailAddress, "amelia@example.com", 0},
       {kLastModified, nullptr, kTimeAmelia}},
      {{kDisplayName, "Bruno Castellan", 0},
       {kGivenName, "Bruno", 0},
       {kSurname, "Castellan", 0},
       {kLastModified, nullptr, kTimeBruno}},
  };
  return entries;
}

const std::vector<Property>* EntryOf(const Entry* entry) {
  if (entry == nullptr || entry->id < 1 || entry->id > Entries().size()) return nullptr;
  return &Entries()[entry->id - 1];
}

const Property* Find(const Entry* entry, int32_t tag) {
  const std::vector<Property>* properties = EntryOf(entry);
  if (properties == nullptr) return nullptr;
  for (const Property& property : *properties) {
    if (property.tag == tag) return &property;
  }
  return nullptr;
}

}  // namespace

extern "C" {

int32_t WINAPI kWabOpen(Context* context) {
  context->handle = 1;
  return 1;
}
int32_t WINAPI kWabClose(Context* context) {
  context->handle = 0;
  return 1;
}
int32_t WINAPI kWabGetNumEntries(Context*) { return static_cast<int32_t>(Entries().size()); }
int32_t WINAPI kWabGetEntries(Context*, Entry* first, int32_t count) {
  int32_t filled = 0;
  for (; filled < count && static_cast<size_t>(filled) < Entries().size(); ++filled) {
    first[filled].id = static_cast<uint64_t>(filled) + 1;
  }
  return filled;
}
int32_t WINAPI kWabFreeEntries(Context*, Entry*, int32_t) { return 1; }
int32_t WINAPI kWabGetNumProps(Context*, Entry* entry) {
  const std::vector<Property>* properties = EntryOf(entry);
  return properties == nullptr ? 0 : static_cast<int32_t>(properties->size());
}
int32_t WINAPI kWabGetPropTag(Context*, Entry* entry, int32_t index, int32_t) {
  const std::vector<Property>* properties = EntryOf(entry);
  if (properties == nullptr || index < 0 || static_cast<size_t>(index) >= properties->size()) {
    return 0;
  }
  return (*properties)[static_cast<size_t>(index)].tag;
}
int32_t WINAPI kWabGetPropType(int32_t tag) { return tag & 0xFFFF; }
int16_t WINAPI kWabGetProp_String(Context*, Entry* entry, int32_t tag, char* buffer,
                                  int32_t buffer_size, int32_t) {
  const Property* property = Find(entry, tag);
  if (property == nullptr || property->text == nullptr) return 0;
  const size_t length = std::strlen(property->text);
  if (buffer == nullptr || length + 1 > static_cast<size_t>(buffer_size)) return 0;
  std::memcpy(buffer, property->text, length + 1);
  return 1;
}
int16_t WINAPI kWabGetProp_Short(Context*, Entry*, int32_t, int16_t*) { return 0; }
int16_t WINAPI kWabGetProp_SysTime(Context*, Entry* entry, int32_t tag, FILETIME* value) {
  const Property* property = Find(entry, tag);
  if (property == nullptr || property->text != nullptr) return 0;
  value->dwLowDateTime = static_cast<DWORD>(property->time);
  value->dwHighDateTime = static_cast<DWORD>(property->time >> 32);
  return 1;
}
int16_t WINAPI kWabGetProp_MV_String_Count(Context*, Entry*, int32_t, int32_t*) { return 0; }
int16_t WINAPI kWabGetProp_MV_String_Data(Context*, Entry*, int32_t, char*, int32_t, int32_t,
                                          int32_t) {
  return 0;
}

}  // extern "C"
