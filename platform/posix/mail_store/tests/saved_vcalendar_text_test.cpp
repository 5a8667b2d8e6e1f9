#include <gtest/gtest.h>

#include <string>

#include "platform/posix/mail_store/tests/saved_item_fixtures.h"
#include "platform/posix/mail_store/saved_item_text.h"
#include "platform/posix/posix_code_page.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {
namespace {

using posix::MailItem;

constexpr int32_t kAppointment = 26;

MailItem Appointment(posix::StoredTime start, posix::StoredTime end) {
  MailItem item;
  item.item_class = kAppointment;
  item.subject = u"Review";
  item.start = start;
  item.end = end;
  return item;
}

MailItem UtcAppointment() {
  MailItem item = Appointment(Utc({2026, 12, 6, 9, 0, 0}), Utc({2026, 12, 6, 10, 30, 0}));
  item.location = u"Room 4";
  item.body = u"Bring the figures";
  item.last_modification_time = Utc({2026, 12, 1, 8, 0, 5});
  return item;
}

MailItem AllDay(posix::StoredTime start, posix::StoredTime end) {
  MailItem item = Appointment(start, end);
  item.all_day = true;
  return item;
}

MailItem Recurring(int32_t state, std::u16string rule) {
  MailItem item = Appointment(Utc({2026, 12, 7, 9, 0, 0}), Utc({2026, 12, 7, 9, 15, 0}));
  item.recurrence_state = state;
  item.recurrence_rule = std::move(rule);
  return item;
}

MailItem WithoutTimes() {
  MailItem item;
  item.item_class = kAppointment;
  item.subject = u"Some day";
  return item;
}

MailItem ChineseAppointment() {
  MailItem item = Appointment(Utc({2026, 12, 6, 1, 0, 0}), Utc({2026, 12, 6, 2, 0, 0}));
  item.subject = u"会议";
  item.location = u"北京市";
  item.body = u"会议\r\n丂";
  return item;
}

MailItem MultiLineDescription() {
  MailItem item = WithoutTimes();
  item.body = u"Agenda:\r\n1. Figures=2\r\n2. Plans";
  return item;
}

const std::string kVEventBegin = "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\n";
const std::string kVEventEnd = "END:VEVENT\r\nEND:VCALENDAR\r\n";

TEST(SavedVCalendar, WholeFiles) {
  const struct {
    const char* name;
    uint32_t code_page;
    MailItem item;
    Zone zone;
    std::string body;  // the lines between "BEGIN:VEVENT" and "END:VEVENT"
  } rows[] = {
      {"UTC appointment", 1252, UtcAppointment(), kIndia,
       Lines({"DTSTART:20261206T090000Z", "DTEND:20261206T103000Z", "SUMMARY:Review",
              "LOCATION:Room 4", "DESCRIPTION:Bring the figures",
              "LAST-MODIFIED:20261201T080005Z"})},
      {"local appointment, half-hour zone", 1252,
       Appointment(Local({2026, 12, 6, 9, 0, 0}), Local({2026, 12, 6, 0, 15, 0})), kIndia,
       Lines({"DTSTART:20261206T033000Z", "DTEND:20261205T184500Z", "SUMMARY:Review"})},
      {"local appointment, daylight time", 1252,
       Appointment(Local({2026, 7, 1, 22, 30, 0}), Local({2026, 7, 1, 23, 0, 0})), kNewYorkSummer,
       Lines({"DTSTART:20260702T023000Z", "DTEND:20260702T030000Z", "SUMMARY:Review"})},
      {"local appointment, zone unknown", 1252,
       With(Appointment(Local({2026, 7, 1, 22, 30, 0}), Utc({2026, 7, 2, 3, 0, 0})),
            [](MailItem& i) { i.last_modification_time = Utc({2026, 6, 1, 0, 0, 0}); }),
       kNoZone,
       Lines({"DTEND:20260702T030000Z", "SUMMARY:Review", "LAST-MODIFIED:20260601T000000Z"})},
      {"all-day event", 1252, AllDay(Local({2026, 12, 24, 0, 0, 0}), Local({2026, 12, 26, 0, 0, 0})),
       kNewYorkSummer,
       Lines({"DTSTART:20261224T000000", "DTEND:20261226T000000", "SUMMARY:Review"})},
      {"all-day event stored in UTC", 1252,
       AllDay(Utc({2026, 12, 23, 18, 30, 0}), Utc({2026, 12, 24, 18, 30, 0})), kIndia,
       Lines({"DTSTART:20261224T000000", "DTEND:20261225T000000", "SUMMARY:Review"})},
      {"recurring", 1252, Recurring(1, u"W1 MO WE #10"), kUtc,
       Lines({"DTSTART:20261207T090000Z", "DTEND:20261207T091500Z", "SUMMARY:Review",
              "RRULE:W1 MO WE #10"})},
      {"not recurring, stale rule", 1252, Recurring(0, u"W1 MO WE #10"), kUtc,
       Lines({"DTSTART:20261207T090000Z", "DTEND:20261207T091500Z", "SUMMARY:Review"})},
      {"recurring without rule", 1252, Recurring(3, u""), kUtc,
       Lines({"DTSTART:20261207T090000Z", "DTEND:20261207T091500Z", "SUMMARY:Review"})},
      {"without times", 936, WithoutTimes(), kIndia, Lines({"SUMMARY:Some day"})},
      {"times beyond year 9999", 1252,
       Appointment(Local({9999, 12, 31, 23, 0, 0}), posix::StoredTime{~uint64_t{0}, true}),
       kNewYorkSummer, Lines({"SUMMARY:Review"})},
      {"multi-line description", 1252, MultiLineDescription(), kUtc,
       Lines({"SUMMARY:Some day",
              "DESCRIPTION;ENCODING=QUOTED-PRINTABLE:Agenda:=0D=0A1. Figures=3D2=0D=0A2. Plans"})},
      {"double-byte texts", 936, ChineseAppointment(), kUtc,
       Lines({"DTSTART:20261206T010000Z", "DTEND:20261206T020000Z", "SUMMARY:会议",
              "LOCATION:北京市", "DESCRIPTION;ENCODING=QUOTED-PRINTABLE:=BB=E1=D2=E9=0D=0A=81@"})},
  };
  for (const auto& row : rows) {
    posix::PosixCodePage code_page(row.code_page);
    FixedTimeZone zone(row.zone);
    EXPECT_EQ(Narrow(posix::SavedVCalendarText(row.item, code_page, zone)),
              kVEventBegin + row.body + kVEventEnd)
        << row.name;
  }
}

}  // namespace
}  // namespace orvane::testing
