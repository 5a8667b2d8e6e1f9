#include "outlook/outlook_source.h"

#include "component/export_type.h"
#include "outlook/outlook_calendar_run.h"
#include "outlook/outlook_contacts_run.h"
#include "outlook/outlook_items.h"
#include "outlook/outlook_session.h"

namespace orvane {
namespace {

// Every operation logs on to the mail client anew before it starts.
constexpr SourceProcedures kContacts = {OpenOutlook, CountOutlookContacts, GetOutlookContactInfo,
                                        ExportOutlookContact, ExportOutlookContacts};
constexpr SourceProcedures kCalendar = {OpenOutlook, CountOutlookAppointments,
                                        GetOutlookAppointmentInfo, ExportOutlookAppointment,
                                        ExportOutlookCalendar};

}  // namespace

std::unique_ptr<ExportSource> MakeOutlookSource(int16_t ExportType) {
  if (ExportType == kOutlookContacts) return std::make_unique<ProcedureSource>(kContacts);
  if (ExportType == kOutlookCalendar) return std::make_unique<ProcedureSource>(kCalendar);
  return nullptr;
}

}  // namespace orvane
