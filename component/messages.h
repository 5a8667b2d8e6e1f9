#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// Numbers of the component's message catalogue.
namespace msg {
inline constexpr uint16_t kUnableToUseOutlook = 2567;
inline constexpr uint16_t kExportStartingTime = 2571;
inline constexpr uint16_t kFolder = 7301;
inline constexpr uint16_t kName = 7302;
inline constexpr uint16_t kAddressBookCancel = 7303;
inline constexpr uint16_t kAddressBookFinish = 7304;
inline constexpr uint16_t kCalendarsCancel = 7305;
inline constexpr uint16_t kCalendarsFinish = 7306;
inline constexpr uint16_t kNoContacts = 7307;
inline constexpr uint16_t kAddressBookEnd = 7308;
inline constexpr uint16_t kContact = 7309;
inline constexpr uint16_t kNoAddressBook = 7310;
inline constexpr uint16_t kExportDataCount = 7409;
}  // namespace msg

// The text of message `id` in `language` (1033, 1028 or 2052); any other language
// gets English. An unknown number gives empty text.
std::u16string MessageText(uint16_t id, uint16_t language);

}  // namespace orvane
