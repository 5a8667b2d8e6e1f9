#include "outlook/outlook_items.h"

#include <utility>

#include "outlook/outlook_objects.h"

namespace orvane {
namespace {

int16_t CountDefaultFolderItems(CallContext& context, int32_t folder) {
  return NarrowOutlookCount(Required(DefaultFolder(context, folder)->Items())->Count());
}

std::shared_ptr<OutlookAppointment> DefaultCalendarAppointment(CallContext& context,
                                                               int16_t ItemIdx) {
  return Required(
      DefaultFolderItem(context, outlook::kFolderCalendar, ItemIdx)->AsAppointment());
}

}  // namespace

int16_t CountOutlookContacts(CallContext& context) {
  return CountDefaultFolderItems(context, outlook::kFolderContacts);
}

int16_t CountOutlookAppointments(CallContext& context) {
  return CountDefaultFolderItems(context, outlook::kFolderCalendar);
}

void GetOutlookContactInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                           AutomationDate& ModifyTime) {
  const std::shared_ptr<OutlookItem> item =
      DefaultFolderItem(context, outlook::kFolderContacts, ItemIdx);
  std::u16string subject = ItemSubject(*item);
  const AutomationDate modified = ItemModificationTime(*item);
  Title = std::move(subject);
  ModifyTime = modified;
}

void GetOutlookAppointmentInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                               AutomationDate& ModifyTime) {
  const std::shared_ptr<OutlookAppointment> appointment =
      DefaultCalendarAppointment(context, ItemIdx);
  std::u16string subject = appointment->Subject();
  const AutomationDate modified = appointment->LastModificationTime();
  Title = std::move(subject);
  ModifyTime = modified;
}

void ExportOutlookContact(CallContext& context, int16_t ItemIdx, const std::u16string& filename) {
  const std::shared_ptr<OutlookItem> item =
      DefaultFolderItem(context, outlook::kFolderContacts, ItemIdx);
  SaveItemAs(*item, filename + u".vcf", outlook::kSaveAsVCard);
}

void ExportOutlookAppointment(CallContext& context, int16_t ItemIdx,
                              const std::u16string& filename) {
  DefaultCalendarAppointment(context, ItemIdx)->SaveAs(filename + u".vcs",
                                                       outlook::kSaveAsVCalendar);
}

}  // namespace orvane
