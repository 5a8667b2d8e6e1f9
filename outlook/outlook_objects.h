#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "component/call_context.h"
#include "platform/error.h"
#include "platform/outlook_object_model.h"

namespace orvane {

// How the Outlook procedures reach the object model of the session that
// OpenOutlook opened. Every failure leaves by orvane::Error.

// An object the object model handed back empty is an unset object variable (91).
template <typename Pointer>
Pointer Required(Pointer object) {
  if (!object) throw Error(errors::kObjectNotSet);
  return object;
}

// The default folder of a kind: outlook::kFolderContacts or outlook::kFolderCalendar.
std::shared_ptr<OutlookFolder> DefaultFolder(CallContext& context, int32_t folder);

// Item `ItemIdx` (1-based, in the collection's own order) of a default folder;
// the collection itself decides what an index outside it raises.
std::shared_ptr<OutlookItem> DefaultFolderItem(CallContext& context, int32_t folder,
                                               int16_t ItemIdx);

// A count as the component keeps counts: 16-bit, anything beyond is error 6.
int16_t NarrowOutlookCount(int64_t count);

// The late-bound members any kind of item answers.
int32_t ItemClass(OutlookItem& item);
std::u16string ItemSubject(OutlookItem& item);
AutomationDate ItemModificationTime(OutlookItem& item);
// Writes the item at `path` (extension included) in `format`.
void SaveItemAs(OutlookItem& item, const std::u16string& path, int32_t format);

}  // namespace orvane
