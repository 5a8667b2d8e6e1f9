#pragma once

// The exported functions of the address-book library kwab.dll, as the component
// calls them. Contexts and entries are the library's own 8-byte records; texts
// are NUL-terminated in the ANSI code page.

#include "platform/windows/windows_headers.h"

#include <cstdint>

#include "platform/address_book_library.h"

namespace orvane::windows::kwab {

// Reserved of the two text getters. With kReportRequiredSize, a getter whose
// text and NUL do not fit into the buffer returns 0 and writes a
// RequiredSizeAnswer at the buffer's start (when the buffer can hold one), so
// that the caller can read again with a buffer that fits. With 0 the buffer
// is left as it was.
inline constexpr int32_t kReportRequiredSize = 1;

// The mark tells the answer from bytes that a library which does not know the
// request may have left in the buffer.
struct RequiredSizeAnswer {
  char mark[4];
  int32_t size;  // the text's length with its NUL
};
inline constexpr char kRequiredSizeMark[4] = {'S', 'I', 'Z', 'E'};

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
