// Reads the saved vCalendar text back with libical's vCalendar 1.0 reader, the
// way another calendar program would read the file.

#include <gtest/gtest.h>

extern "C" {
#include <libical/ical.h>
#include <libical/icalvcal.h>
#include <libical/vcc.h>
}

#include <memory>
#include <string>

#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/mail_store/tests/saved_item_fixtures.h"
#include "platform/posix/posix_code_page.h"

namespace orvane::testing {
namespace {

struct FreeComponent {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

// The calendar libical makes of the file's bytes; null when it cannot read them.
Component ReadCalendar(const std::string& bytes) {
  VObject* object = Parse_MIME(bytes.data(), bytes.size());
  if (object == nullptr) return nullptr;
  Component calendar(icalvcal_convert(object));
  cleanVObject(object);
  return calendar;
}

std::string UtcText(icaltimetype time) {
  if (!icaltime_is_utc(time)) return "not UTC";
  return icaltime_as_ical_string(time);
}

std::string RuleText(icalcomponent* event) {
  icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
  if (rule == nullptr) return "";
  icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
  return icalrecurrencetype_as_string(&recurrence);
}

TEST(SavedVCalendarReadBack, AnotherReaderSeesTheSameEvent) {
  posix::MailItem item;
  item.item_class = 26;
  item.subject = u"Weekly review";
  item.location = u"  Room 4";
  item.body = u"Agenda:\r\n1. Figures=2\r\n2. Plans";
  item.start = Local({2026, 12, 7, 9, 0, 0});
  item.end = Local({2026, 12, 7, 10, 30, 0});
  item.recurrence_state = 1;
  item.recurrence_rule = u"W1 MO WE #10";
  posix::PosixCodePage code_page(1252);
  FixedTimeZone zone(kIndia);
  const std::string bytes = code_page.FromUtf16(posix::SavedVCalendarText(item, code_page, zone));

  const Component calendar = ReadCalendar(bytes);
  ASSERT_NE(calendar, nullptr);
  icalcomponent* event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_NE(event, nullptr);
  EXPECT_STREQ(icalcomponent_get_summary(event), "Weekly review");
  EXPECT_STREQ(icalcomponent_get_location(event), "  Room 4");
  EXPECT_STREQ(icalcomponent_get_description(event), "Agenda:\r\n1. Figures=2\r\n2. Plans");
  EXPECT_EQ(UtcText(icalcomponent_get_dtstart(event)), "20261207T033000Z");
  EXPECT_EQ(UtcText(icalcomponent_get_dtend(event)), "20261207T050000Z");
  EXPECT_EQ(RuleText(event), "FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE");
}

}  // namespace
}  // namespace orvane::testing
