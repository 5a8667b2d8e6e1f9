#include "outlook/outlook_objects.h"

#include <limits>

namespace orvane {
namespace {

AutomationValue GetByName(OutlookItem& item, std::u16string_view member) {
  return item.InvokeByName(member, InvokeKind::kPropertyGet, {});
}

}  // namespace

std::shared_ptr<OutlookFolder> DefaultFolder(CallContext& context, int32_t folder) {
  return Required(Required(context.state.OutlookNamespace)->GetDefaultFolder(folder));
}

std::shared_ptr<OutlookItem> DefaultFolderItem(CallContext& context, int32_t folder,
                                               int16_t ItemIdx) {
  const std::shared_ptr<OutlookItems> items = Required(DefaultFolder(context, folder)->Items());
  return Required(items->Item(AutomationValue{ItemIdx}));
}

int16_t NarrowOutlookCount(int64_t count) {
  if (count < std::numeric_limits<int16_t>::min() || count > std::numeric_limits<int16_t>::max()) {
    throw Error(errors::kOverflow);
  }
  return static_cast<int16_t>(count);
}

int32_t ItemClass(OutlookItem& item) { return Int32Of(GetByName(item, u"Class")); }

std::u16string ItemSubject(OutlookItem& item) { return TextOf(GetByName(item, u"Subject")); }

AutomationDate ItemModificationTime(OutlookItem& item) {
  return DateOf(GetByName(item, u"LastModificationTime"));
}

void SaveItemAs(OutlookItem& item, const std::u16string& path, int32_t format) {
  item.InvokeByName(u"SaveAs", InvokeKind::kMethod, {path, format});
}

}  // namespace orvane
