#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "component/call_context.h"
#include "platform/automation_date.h"
#include "platform/code_page.h"
#include "platform/time_zone.h"

namespace orvane {

// The vCard 2.1 card of entry EntryIndex of WabEntries. With SingleItem 0 (inside
// a whole run) it also counts the entry, raises ExportProgress with its display
// name and adds its line to the run log. Never fails: a step that fails is skipped.
std::u16string BuildWabVCard(CallContext& context, int32_t EntryIndex, float UtcOffsetHours,
                             int16_t SingleItem);

// UTC minus local time, in hours (-8 eight hours east of UTC, 5.5 for UTC-5:30).
float GetUtcOffsetHours(TimeZone& time_zone);

// `date` moved by UtcOffsetHours, to the second; the exact offset, not rounded
// to whole hours. Nothing when the result leaves the range of dates.
std::optional<AutomationDate> ShiftByUtcOffset(AutomationDate date, float UtcOffsetHours);
std::optional<DateTimeParts> ShiftByUtcOffset(const DateTimeParts& date, float UtcOffsetHours);

}  // namespace orvane
