#include "outlook/outlook_calendar_run.h"

#include <memory>
#include <string>

#include "component/ascii_text.h"
#include "component/export_type.h"
#include "component/messages.h"
#include "outlook/outlook_objects.h"
#include "outlook/saved_file_delivery.h"

namespace orvane {
namespace {

constexpr char16_t kLineEnd[] = u"\r\n";

void ExportAppointment(CallContext& context, SavedFileDelivery& delivery,
                       OutlookAppointment& appointment) {
  SharedState& state = context.state;
  state.CurrentCount = NarrowOutlookCount(state.CurrentCount + 1);
  const std::u16string file = delivery.WorkingFile(state.CurrentCount);
  appointment.SaveAs(file, outlook::kSaveAsVCalendar);
  state.ProgressText = appointment.Subject();
  state.LogText += DecimalText(state.CurrentCount) + u'\x01' + state.ProgressText + kLineEnd;
  delivery.Deliver(file);
  context.RaiseExportEvent(0);
}

}  // namespace

void ExportOutlookCalendar(CallContext& context) {
  SharedState& state = context.state;
  SavedFileDelivery delivery(context, kOutlookCalendar);
  delivery.Begin();
  const std::shared_ptr<OutlookFolder> folder = DefaultFolder(context, outlook::kFolderCalendar);
  const std::shared_ptr<OutlookItems> items = Required(folder->Items());
  const int32_t count = items->Count();
  if (count == 0) return;
  const std::u16string name = folder->Name();
  state.ProgressText = name;
  state.LogText += context.Message(msg::kFolder) + name + kLineEnd;
  state.TotalCount = NarrowOutlookCount(count);
  context.RaiseExportEvent(0);

  const auto members = Required(items->Enumerate());
  for (auto item = members->Next(); item && !state.BreakRequested; item = members->Next()) {
    context.YieldToHost();
    const std::shared_ptr<OutlookAppointment> appointment = Required(item->AsAppointment());
    if (appointment->RecurrenceState() == 0) {
      ExportAppointment(context, delivery, *appointment);
    } else {
      // A recurring appointment, an occurrence or an exception is not exported.
      state.TotalCount = NarrowOutlookCount(state.TotalCount - 1);
      context.RaiseExportEvent(0);
    }
  }
  state.ProgressText =
      context.Message(state.BreakRequested ? msg::kCalendarsCancel : msg::kCalendarsFinish);
  state.LogText += context.Message(msg::kExportDataCount) + DecimalText(state.CurrentCount) +
                   kLineEnd + state.ProgressText;
}

}  // namespace orvane
