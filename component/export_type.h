#pragma once

#include <cstdint>
#include <string>

namespace orvane {

inline constexpr int16_t kOutlookContacts = 1;
inline constexpr int16_t kOutlookCalendar = 2;
inline constexpr int16_t kAddressBookContacts = 3;

// "OutlookvCard", "OutlookvCal", "ExpressvCard"; empty for any other type.
std::u16string TypeNameText(int16_t ExportType);
// ".vcf" or ".vcs"; empty for any other type.
std::u16string ExtensionOf(int16_t ExportType);

}  // namespace orvane
