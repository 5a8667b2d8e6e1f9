#include "outlook/outlook_source.h"

#include "component/export_type.h"
#include "outlook/outlook_calendar_run.h"
#include "outlook/outlook_contacts_run.h"
#include "outlook/outlook_items.h"
#include "outlook/outlook_session.h"

namespace orvane {
namespace {

// Every operation logs on to the mail client anew before it starts.
class OutlookContactsSource final : public ExportSource {
 public:
  void OpenSession(CallContext& context) override { OpenOutlook(context); }
  int16_t CountItems(CallContext& context) override { return CountOutlookContacts(context); }
  void GetItemInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                   AutomationDate& ModifyTime) override {
    GetOutlookContactInfo(context, ItemIdx, Title, ModifyTime);
  }
  void ExportItem(CallContext& context, int16_t ItemIdx, const std::u16string& filename) override {
    ExportOutlookContact(context, ItemIdx, filename);
  }
  void ExportAll(CallContext& context) override { ExportOutlookContacts(context); }
};

class OutlookCalendarSource final : public ExportSource {
 public:
  void OpenSession(CallContext& context) override { OpenOutlook(context); }
  int16_t CountItems(CallContext& context) override { return CountOutlookAppointments(context); }
  void GetItemInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                   AutomationDate& ModifyTime) override {
    GetOutlookAppointmentInfo(context, ItemIdx, Title, ModifyTime);
  }
  void ExportItem(CallContext& context, int16_t ItemIdx, const std::u16string& filename) override {
    ExportOutlookAppointment(context, ItemIdx, filename);
  }
  void ExportAll(CallContext& context) override { ExportOutlookCalendar(context); }
};

}  // namespace

std::unique_ptr<ExportSource> MakeOutlookSource(int16_t ExportType) {
  if (ExportType == kOutlookContacts) return std::make_unique<OutlookContactsSource>();
  if (ExportType == kOutlookCalendar) return std::make_unique<OutlookCalendarSource>();
  return nullptr;
}

}  // namespace orvane
