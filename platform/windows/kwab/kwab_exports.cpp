// The thirteen exported functions of kwab.dll, each a thin call into the
// build's address book. Nothing escapes them: a null pointer, a failure or an
// exception answers 0.

#include <cstring>

#include "platform/windows/kwab/kwab_library.h"
#include "platform/windows/kwab_abi.h"

namespace orvane::windows::kwab {
namespace {

AddressBookLibrary& Library() {
  // Made at the first call, not while the DLL loads; one that failed is tried again.
  static const std::shared_ptr<AddressBookLibrary> library = MakeKwabLibrary();
  return *library;
}

template <typename Result, typename Action, typename... Pointers>
Result Guarded(Action action, const Pointers*... pointers) noexcept {
  if (((pointers == nullptr) || ...)) return 0;
  try {
    return static_cast<Result>(action(Library()));
  } catch (...) {
    return 0;
  }
}

// A text getter's answer to a buffer that is too small, when the caller asks for it.
int16_t AnswerRequiredSize(int16_t set, int32_t required, char* buffer, int32_t buffer_size,
                           int32_t reserved) {
  if (set == 0 && reserved == kReportRequiredSize && required > buffer_size && buffer != nullptr &&
      buffer_size >= int32_t{sizeof(RequiredSizeAnswer)}) {
    RequiredSizeAnswer answer{};
    std::memcpy(answer.mark, kRequiredSizeMark, sizeof answer.mark);
    answer.size = required;
    std::memcpy(buffer, &answer, sizeof answer);
  }
  return set;
}

}  // namespace
}  // namespace orvane::windows::kwab

using orvane::AddressBookLibrary;
using orvane::WabContext;
using orvane::WabEntry;
using orvane::windows::kwab::AnswerRequiredSize;
using orvane::windows::kwab::Guarded;

extern "C" {

int32_t WINAPI kWabOpen(WabContext* context) {
  return Guarded<int32_t>([&](AddressBookLibrary& book) { return book.kWabOpen(*context); },
                          context);
}

int32_t WINAPI kWabClose(WabContext* context) {
  return Guarded<int32_t>([&](AddressBookLibrary& book) { return book.kWabClose(*context); },
                          context);
}

int32_t WINAPI kWabGetNumEntries(WabContext* context) {
  return Guarded<int32_t>(
      [&](AddressBookLibrary& book) { return book.kWabGetNumEntries(*context); }, context);
}

int32_t WINAPI kWabGetEntries(WabContext* context, WabEntry* first, int32_t count) {
  return Guarded<int32_t>(
      [&](AddressBookLibrary& book) { return book.kWabGetEntries(*context, first, count); },
      context, first);
}

int32_t WINAPI kWabFreeEntries(WabContext* context, WabEntry* first, int32_t count) {
  return Guarded<int32_t>(
      [&](AddressBookLibrary& book) { return book.kWabFreeEntries(*context, first, count); },
      context, first);
}

int32_t WINAPI kWabGetNumProps(WabContext* context, WabEntry* entry) {
  return Guarded<int32_t>(
      [&](AddressBookLibrary& book) { return book.kWabGetNumProps(*context, *entry); }, context,
      entry);
}

int32_t WINAPI kWabGetPropTag(WabContext* context, WabEntry* entry, int32_t index,
                              int32_t reserved) {
  return Guarded<int32_t>(
      [&](AddressBookLibrary& book) {
        return book.kWabGetPropTag(*context, *entry, index, reserved);
      },
      context, entry);
}

int32_t WINAPI kWabGetPropType(int32_t tag) {
  return Guarded<int32_t>([&](AddressBookLibrary& book) { return book.kWabGetPropType(tag); });
}

int16_t WINAPI kWabGetProp_String(WabContext* context, WabEntry* entry, int32_t tag, char* buffer,
                                  int32_t buffer_size, int32_t reserved) {
  return Guarded<int16_t>(
      [&](AddressBookLibrary& book) {
        int32_t required = 0;
        const int16_t set =
            book.kWabGetProp_String(*context, *entry, tag, buffer, buffer_size, &required);
        return AnswerRequiredSize(set, required, buffer, buffer_size, reserved);
      },
      context, entry, buffer);
}

int16_t WINAPI kWabGetProp_Short(WabContext* context, WabEntry* entry, int32_t tag,
                                 int16_t* value) {
  return Guarded<int16_t>(
      [&](AddressBookLibrary& book) {
        return book.kWabGetProp_Short(*context, *entry, tag, *value);
      },
      context, entry, value);
}

int16_t WINAPI kWabGetProp_SysTime(WabContext* context, WabEntry* entry, int32_t tag,
                                   FILETIME* value) {
  return Guarded<int16_t>(
      [&](AddressBookLibrary& book) {
        orvane::FileTime time;
        if (book.kWabGetProp_SysTime(*context, *entry, tag, time) == 0) return int16_t{0};
        *value = FILETIME{time.dwLowDateTime, time.dwHighDateTime};
        return int16_t{1};
      },
      context, entry, value);
}

int16_t WINAPI kWabGetProp_MV_String_Count(WabContext* context, WabEntry* entry, int32_t tag,
                                           int32_t* count) {
  return Guarded<int16_t>(
      [&](AddressBookLibrary& book) {
        return book.kWabGetProp_MV_String_Count(*context, *entry, tag, *count);
      },
      context, entry, count);
}

int16_t WINAPI kWabGetProp_MV_String_Data(WabContext* context, WabEntry* entry, int32_t tag,
                                          char* buffer, int32_t buffer_size, int32_t reserved,
                                          int32_t index) {
  return Guarded<int16_t>(
      [&](AddressBookLibrary& book) {
        int32_t required = 0;
        const int16_t set = book.kWabGetProp_MV_String_Data(*context, *entry, tag, buffer,
                                                            buffer_size, &required, index);
        return AnswerRequiredSize(set, required, buffer, buffer_size, reserved);
      },
      context, entry, buffer);
}

}  // extern "C"
