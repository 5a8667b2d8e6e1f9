#pragma once

#include <cstdint>
#include <string>

#include "platform/file_time.h"

namespace orvane {

// The session record that kWabOpen fills; the component never reads it.
struct WabContext {
  uint64_t handle = 0;
};

// One entry of the address book, as the library hands it out: 8 opaque bytes.
// An all-zero entry is one the library never filled.
struct WabEntry {
  uint64_t id = 0;
};

// Published MAPI property types.
inline constexpr int32_t PT_I2 = 0x0002;
inline constexpr int32_t PT_LONG = 0x0003;
inline constexpr int32_t PT_STRING8 = 0x001E;
inline constexpr int32_t PT_UNICODE = 0x001F;
inline constexpr int32_t PT_SYSTIME = 0x0040;
inline constexpr int32_t PT_BINARY = 0x0102;
inline constexpr int32_t PT_MV_STRING8 = 0x101E;

// The outside address-book library: it opens the current user's address book and
// hands out its entries and their properties. Texts cross in the ANSI code page.
//
// The two text getters differ from the classic fixed-buffer contract in one way:
// when the value and its NUL do not fit into `buffer_size` bytes they return 0,
// write nothing, and store the size that would fit in `*required` (when given),
// so the caller can read again with a buffer that fits.
class AddressBookLibrary {
 public:
  virtual ~AddressBookLibrary() = default;

  virtual int32_t kWabOpen(WabContext& context) = 0;  // 0 = failure
  virtual int32_t kWabClose(WabContext& context) = 0;
  virtual int32_t kWabGetNumEntries(WabContext& context) = 0;
  // Fills `count` entries from `first` on; returns how many it filled.
  virtual int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) = 0;
  virtual int32_t kWabFreeEntries(WabContext& context, WabEntry* first, int32_t count) = 0;
  virtual int32_t kWabGetNumProps(WabContext& context, WabEntry& entry) = 0;
  virtual int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index,
                                 int32_t reserved) = 0;
  virtual int32_t kWabGetPropType(int32_t tag) = 0;

  // Each getter returns non-zero when it set its out value or buffer.
  virtual int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required) = 0;
  virtual int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                                    int16_t& value) = 0;
  // The time as local time, shifted from the stored instant by the current bias.
  virtual int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                                      FileTime& value) = 0;
  virtual int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry,
                                              int32_t tag, int32_t& count) = 0;
  virtual int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                             char* buffer, int32_t buffer_size,
                                             int32_t* required, int32_t index) = 0;

  // Why the last kWabOpen failed (file, line, what is wrong), for a host to show;
  // empty when it did not fail or the library cannot tell.
  virtual std::u16string OpenFailureReason() { return {}; }
};

}  // namespace orvane
