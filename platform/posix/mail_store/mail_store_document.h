#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/address_book/address_book_document.h"

namespace orvane::posix {

// A postal address of a contact in the mail store.
struct MailPostalAddress {
  std::u16string street;  // may hold line breaks (CR LF)
  std::u16string city;
  std::u16string state;
  std::u16string postal_code;
  std::u16string country;

  bool IsEmpty() const {
    return street.empty() && city.empty() && state.empty() && postal_code.empty() &&
           country.empty();
  }
};

// One item of a folder, of any class. Contacts use the contact fields,
// appointments the appointment fields; every field may be empty.
struct MailItem {
  int32_t item_class = 0;  // 40 contact, 69 distribution list, 26 appointment, any other
  std::u16string subject;
  std::optional<StoredTime> last_modification_time;

  // Contacts (a distribution list uses only `subject`).
  std::u16string full_name;
  std::u16string title;  // "Dr."
  std::u16string first_name;
  std::u16string middle_name;
  std::u16string last_name;
  std::u16string suffix;  // "Jr."
  std::u16string company_name;
  std::u16string department;
  std::u16string job_title;
  std::u16string business_telephone;
  std::u16string home_telephone;
  std::u16string mobile_telephone;
  std::u16string business_fax;
  MailPostalAddress business_address;
  MailPostalAddress home_address;
  std::vector<std::u16string> email_addresses;  // at most three
  std::u16string web_page;
  std::optional<StoredTime> birthday;  // a local date

  // Contacts and appointments: the notes.
  std::u16string body;

  // Appointments.
  std::optional<StoredTime> start;
  std::optional<StoredTime> end;
  bool all_day = false;  // start and end are whole local days
  std::u16string location;
  int32_t recurrence_state = 0;  // 0 not recurring
  std::u16string recurrence_rule;  // vCalendar 1.0 rule text: "W1 MO WE #10"
};

struct MailFolder {
  std::u16string name;
  std::u16string default_message_class;  // "IPM.Contact", "IPM.Appointment", ...
  std::vector<MailItem> items;           // in document order
  std::vector<MailFolder> folders;       // subfolders, in document order
};

// A mail store as read from its file; never changed once read.
struct MailStoreDocument {
  MailFolder contacts;  // the default contacts folder
  MailFolder calendar;  // the default calendar folder
};

using SharedMailStore = std::shared_ptr<const MailStoreDocument>;

}  // namespace orvane::posix
