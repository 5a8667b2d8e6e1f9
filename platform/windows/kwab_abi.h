#pragma once

// The exported functions of the address-book library kwab.dll, as the component
// calls them. Contexts and entries are the library's own 8-byte records; texts
// are NUL-terminated in the ANSI code page.

#include "platform/windows/windows_headers.h"

#include <cstdint>

#include "platform/address_book_library.h"

namespace orvane::windows::kwab {

using Open = int32_t(WINAPI*)(WabContext* context);
using Close = int32_t(WINAPI*)(WabContext* context);
using GetNumEntries = int32_t(WINAPI*)(WabContext* context);
using GetEntries = int32_t(WINAPI*)(WabContext* context, WabEntry* first, int32_t count);
using FreeEntries = int32_t(WINAPI*)(WabContext* context, WabEntry* first, int32_t count);
using GetNumProps = int32_t(WINAPI*)(WabContext* context, WabEntry* entry);
using GetPropTag = int32_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t index,
                                    int32_t reserved);
using GetPropType = int32_t(WINAPI*)(int32_t tag);
using GetPropString = int16_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t tag,
                                       char* buffer, int32_t buffer_size, int32_t reserved);
using GetPropShort = int16_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t tag,
                                      int16_t* value);
using GetPropSysTime = int16_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t tag,
                                        FILETIME* value);
using GetPropMvStringCount = int16_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t tag,
                                              int32_t* count);
using GetPropMvStringData = int16_t(WINAPI*)(WabContext* context, WabEntry* entry, int32_t tag,
                                             char* buffer, int32_t buffer_size, int32_t reserved,
                                             int32_t index);

}  // namespace orvane::windows::kwab
