#pragma once

#include <cstdint>
#include <string>

#include "component/call_context.h"
#include "platform/clock.h"

namespace orvane {

// The mail client's items one at a time, in the session OpenOutlook opened.
// Only the default folders are looked at, never their subfolders. Errors leave
// by orvane::Error: an index outside the folder (9), a calendar item that is no
// appointment (13), a count beyond 16 bits (6), any failing object-model call.

// Every item of the folder counts, a distribution list or a recurring appointment too.
int16_t CountOutlookContacts(CallContext& context);
int16_t CountOutlookAppointments(CallContext& context);

// `Title` and `ModifyTime` change only when both could be read.
void GetOutlookContactInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                           AutomationDate& ModifyTime);
void GetOutlookAppointmentInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                               AutomationDate& ModifyTime);

// The mail client writes the item at `filename` + ".vcf" or + ".vcs", whatever
// `filename` already ends with. A contact is saved by name, so any item of the
// contacts folder is written as a vCard.
void ExportOutlookContact(CallContext& context, int16_t ItemIdx, const std::u16string& filename);
void ExportOutlookAppointment(CallContext& context, int16_t ItemIdx,
                              const std::u16string& filename);

}  // namespace orvane
