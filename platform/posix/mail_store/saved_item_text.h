#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/posix/mail_store/mail_store_document.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// The text SaveAs writes for `item` in format 6: a vCard 2.1 card, CR LF line
// ends, a CR LF after "END:VCARD". Any class of item can be saved this way.
std::u16string SavedVCardText(const MailItem& item, CodePage& code_page, TimeZone& time_zone);

// The text SaveAs writes for an appointment in format 7: a vCalendar 1.0 file
// with one VEVENT, CR LF line ends, a CR LF after "END:VCALENDAR".
std::u16string SavedVCalendarText(const MailItem& item, CodePage& code_page, TimeZone& time_zone);

}  // namespace orvane::posix
