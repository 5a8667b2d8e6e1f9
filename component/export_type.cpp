#include "component/export_type.h"

namespace orvane {

std::u16string TypeNameText(int16_t ExportType) {
  switch (ExportType) {
    case kOutlookContacts: return u"OutlookvCard";
    case kOutlookCalendar: return u"OutlookvCal";
    case kAddressBookContacts: return u"ExpressvCard";
    default: return u"";
  }
}

std::u16string ExtensionOf(int16_t ExportType) {
  switch (ExportType) {
    case kOutlookContacts:
    case kAddressBookContacts: return u".vcf";
    case kOutlookCalendar: return u".vcs";
    default: return u"";
  }
}

}  // namespace orvane
