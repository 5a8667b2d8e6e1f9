#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "component/call_context.h"
#include "platform/automation_date.h"
#include "platform/file_time.h"

namespace orvane {

// The value of property PropTag of entry EntryIndex (an element of WabEntries)
// as text: text as it is, a 16-bit integer in decimal, a time as a date text,
// a list joined by ";". Empty for a value that is absent, unreadable or of a
// type not handled. Never fails.
std::u16string GetWabPropText(CallContext& context, int32_t PropTag, int32_t EntryIndex);
// The same text appended to `out`, which keeps what it held before.
void AppendWabPropText(CallContext& context, int32_t PropTag, int32_t EntryIndex,
                       std::u16string& out);
// The same for a tag whose type the library has already told.
void AppendWabPropTextOfType(CallContext& context, int32_t PropTag, int32_t PropType,
                             int32_t EntryIndex, std::u16string& out);
// The type the library gives the tag; 0 when there is no library or it fails.
int32_t WabPropType(CallContext& context, int32_t PropTag);
// A time value as the date its text names (milliseconds dropped): nothing when
// the text would be empty. Spares a card the round trip through the text.
std::optional<DateTimeParts> GetWabPropDate(CallContext& context, int32_t PropTag,
                                             int32_t EntryIndex);

// FileTimeToSystemTime through the platform; on failure returns false and
// leaves the eight fields untouched.
bool FileTimeToFields(FileTimeConverter& converter, const FileTime& time, int16_t& year,
                      int16_t& month, int16_t& dayOfWeek, int16_t& day, int16_t& hour,
                      int16_t& minute, int16_t& second, int16_t& milliseconds);
// The automation date of the time, milliseconds dropped; false leaves `date` untouched.
bool FileTimeToDate(FileTimeConverter& converter, const FileTime& time, AutomationDate& date);

// Appends the date text of a time value: "yyyy-MM-dd", followed by " HH:mm:ss"
// when the time of day is not midnight; nothing for a date out of range. It
// reads back without loss in any locale.
void AppendWabDateText(AutomationDate date, std::u16string& out);
// Reads a date text back; nothing when the text is not a date.
std::optional<AutomationDate> ReadWabDateText(std::u16string_view text);

}  // namespace orvane
