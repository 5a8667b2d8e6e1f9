#pragma once

#include <cstdint>
#include <string>

#include "component/call_context.h"
#include "platform/clock.h"

namespace orvane {

// The single-item operations of the address book. Each opens the library for
// itself and closes it before it returns; errors leave by orvane::Error.

// The number of entries; 0 when the library cannot be opened, error 6 above 32767.
int16_t CountWabEntries(CallContext& context);

// Display name and modification time (moved to UTC) of entry ItemIdx. Both keep
// the caller's values where the entry lacks them or the library cannot be opened;
// error 9 for an ItemIdx outside 1 to n, error 13 for a time that is no date.
void GetWabEntryInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                     AutomationDate& ModifyTime);

// Writes the card of entry ItemIdx to `filename` + ".vcf", replacing that file;
// error 9, and no file, for an ItemIdx outside 1 to n.
void ExportWabEntry(CallContext& context, int16_t ItemIdx, const std::u16string& filename);

}  // namespace orvane
