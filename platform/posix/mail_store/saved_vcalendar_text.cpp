#include <optional>
#include <string_view>

#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/mail_store/saved_item_time.h"
#include "vcard/vcard_text.h"

namespace orvane::posix {
namespace {

// A whole-day event keeps its local days; any other time is written in UTC.
void AddTime(VCardText& calendar, std::u16string_view name, const std::optional<StoredTime>& time,
             bool all_day, const TimeZoneInformation& zone) {
  if (!time) return;
  const auto text = all_day ? LocalDayStartText(*time, zone) : UtcTimeText(*time, zone);
  if (text) calendar.AddLine(name, *text);
}

void AddLastModified(VCardText& calendar, const MailItem& item, const TimeZoneInformation& zone) {
  if (!item.last_modification_time) return;
  if (const auto text = UtcTimeText(*item.last_modification_time, zone)) {
    calendar.AddLine(u"LAST-MODIFIED", *text);
  }
}

void AddRecurrence(VCardText& calendar, const MailItem& item) {
  if (item.recurrence_state != 0) calendar.AddLineIfValue(u"RRULE", item.recurrence_rule);
}

}  // namespace

std::u16string SavedVCalendarText(const MailItem& item, CodePage& code_page, TimeZone& time_zone) {
  const TimeZoneInformation zone = time_zone.GetTimeZoneInformation();
  VCardText calendar(code_page);
  calendar.AddLine(u"BEGIN", u"VCALENDAR");
  calendar.AddLine(u"VERSION", u"1.0");
  calendar.AddLine(u"BEGIN", u"VEVENT");
  AddTime(calendar, u"DTSTART", item.start, item.all_day, zone);
  AddTime(calendar, u"DTEND", item.end, item.all_day, zone);
  calendar.AddLineIfValue(u"SUMMARY", item.subject);
  calendar.AddLineIfValue(u"LOCATION", item.location);
  calendar.AddLineIfValue(u"DESCRIPTION", item.body);
  AddLastModified(calendar, item, zone);
  AddRecurrence(calendar, item);
  calendar.AddLine(u"END", u"VEVENT");
  calendar.AddLine(u"END", u"VCALENDAR");
  return calendar.text() + u"\r\n";
}

}  // namespace orvane::posix
