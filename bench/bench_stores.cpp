#include "bench/bench_stores.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::bench {
namespace {

constexpr std::array<std::string_view, 16> kGivenNames = {
    "Amelia", "Jonathan", "Zoë", "Marta", "Henrik", "Priya", "Oluwaseun", "Sofia",
    "Liam", "Aiko", "Mateus", "Ingrid", "Rafael", "Nadia", "Tomás", "Chloé"};
constexpr std::array<std::string_view, 8> kNicknames = {"Millie", "Jon", "Zo", "Marti",
                                                         "Hank", "Pri", "Olu", "Sofi"};
constexpr std::array<std::string_view, 16> kSurnames = {
    "Hartwell", "Reyes", "Okafor", "Lindqvist", "Müller", "Kowalski", "Nakamura", "Fernández",
    "O'Neill", "Brennan", "Ivanova", "Dubois", "Castellanos", "Whitfield", "Søndergaard", "Patel"};
constexpr std::array<std::string_view, 8> kCompanies = {
    "Brightwater Instruments", "Reyes & Daughters Carpentry", "Northwind Surveying",
    "Harbour Light Logistics", "Kestrel Analytics Ltd", "Café Lumière",
    "Greenfield Agricultural Cooperative", "Atlas Medical Devices GmbH"};
constexpr std::array<std::string_view, 6> kDepartments = {
    "Acoustics Research", "Field Office", "Accounts Payable", "Customer Support",
    "Procurement", "Research & Development"};
constexpr std::array<std::string_view, 6> kTitles = {
    "Principal Engineer", "Owner", "Chief Surveyor", "Account Manager", "Head of Operations",
    "Senior Analyst"};
constexpr std::array<std::string_view, 6> kStreets = {
    "1200 Harbor Avenue\\r\\nSuite 300", "48 Maple Terrace", "Unit 5, 48 Orchard Lane",
    "12 Harbour Row\\r\\nUnit 4", "Königstraße 27", "3 Elm Close"};
constexpr std::array<std::string_view, 6> kCities = {"Seattle", "Bellevue", "Portland",
                                                      "London", "Stuttgart", "Richmond"};
constexpr std::array<std::string_view, 4> kCountries = {"United States", "United Kingdom",
                                                         "Germany", "Canada"};
constexpr std::array<std::string_view, 4> kNotes = {
    "Met at the harbour sound symposium.\\r\\nPrefers calls after 10 a.m.",
    "Ask about the river survey.",
    "Invoices to the Stuttgart office.\\r\\nSpeaks German, English and Spanish.\\r\\nVegetarian.",
    "Old friend from university = call on birthdays."};

// The element of `pool` that entry `index` gets, spread so that neighbours differ.
template <size_t N>
std::string_view Pick(const std::array<std::string_view, N>& pool, int index, int stride) {
  return pool[static_cast<size_t>(index * stride + index / 7) % N];
}

std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  return std::string(static_cast<size_t>(width) - std::min(text.size(), size_t(width)), '0') + text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A property line of the address book as people lay it out: one per line.
class EntryWriter {
 public:
  void Text(std::string_view tag, std::string_view value) { Add(tag, Quoted(value)); }
  void Raw(std::string_view tag, std::string_view json) { Add(tag, std::string(json)); }
  std::string Properties() const { return text_; }

 private:
  void Add(std::string_view tag, const std::string& json) {
    if (!text_.empty()) text_ += ",\n";
    text_ += "        [\"" + std::string(tag) + "\", " + json + "]";
  }
  std::string text_;
};

std::string Phone(int index, int line) {
  return "+1 206 555 " + Digits((index * 37 + line * 101) % 10000, 4);
}

std::string Mail(std::string_view given, std::string_view surname, int index,
                 std::string_view domain) {
  std::string local;
  for (const char c : std::string(given) + "." + std::string(surname)) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.') {
      local += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
  }
  return local + std::to_string(index) + "@" + std::string(domain);
}

// A modification time in 2024 that differs from entry to entry.
std::string ModificationTime(int index) {
  return "2024-" + Digits(index % 12 + 1, 2) + "-" + Digits(index % 28 + 1, 2) + "T" +
         Digits(index % 24, 2) + ":" + Digits(index * 7 % 60, 2) + ":" +
         Digits(index * 13 % 60, 2) + "Z";
}

std::string Birthday(int index) {
  return std::to_string(1950 + index % 50) + "-" + Digits(index % 12 + 1, 2) + "-" +
         Digits(index % 28 + 1, 2);
}

std::string EntryId(int index) {
  std::string id = "00000000B5A4C3D2E1F0";
  for (int shift = 28; shift >= 0; shift -= 4) id += "0123456789ABCDEF"[(index >> shift) & 15];
  return id;
}

void WorkProperties(EntryWriter& entry, int index) {
  entry.Text("PR_COMPANY_NAME", Pick(kCompanies, index, 3));
  entry.Text("PR_TITLE", Pick(kTitles, index, 5));
  entry.Text("PR_BUSINESS_TELEPHONE_NUMBER", Phone(index, 1));
  entry.Text("PR_STREET_ADDRESS", Pick(kStreets, index, 1));
  entry.Text("PR_LOCALITY", Pick(kCities, index, 1));
  entry.Text("PR_POSTAL_CODE", Digits(index * 17 % 100000, 5));
  entry.Text("PR_COUNTRY", Pick(kCountries, index, 1));
}

// Every property the card writer reads, and a binary one it skips.
void AllProperties(EntryWriter& entry, int index) {
  const std::string_view given = Pick(kGivenNames, index, 1);
  const std::string_view surname = Pick(kSurnames, index, 3);
  entry.Text("PR_DISPLAY_NAME", std::string(given) + " " + std::string(surname));
  entry.Text("PR_DISPLAY_NAME_PREFIX", "Dr.");
  entry.Text("PR_GIVEN_NAME", given);
  entry.Text("PR_SURNAME", surname);
  entry.Text("PR_GENERATION", "Jr.");
  entry.Text("PR_NICKNAME", Pick(kNicknames, index, 1));
  entry.Text("PR_COMPANY_NAME", Pick(kCompanies, index, 3));
  entry.Text("PR_DEPARTMENT_NAME", Pick(kDepartments, index, 1));
  entry.Text("PR_TITLE", Pick(kTitles, index, 5));
  entry.Text("PR_PROFESSION", "Acoustic engineer");
  entry.Text("PR_COMMENT", Pick(kNotes, index, 1));
  const char* const phones[] = {"PR_BUSINESS_TELEPHONE_NUMBER", "PR_HOME_TELEPHONE_NUMBER",
                                "PR_MOBILE_TELEPHONE_NUMBER",   "PR_PAGER_TELEPHONE_NUMBER",
                                "PR_BUSINESS_FAX_NUMBER",       "PR_HOME_FAX_NUMBER"};
  for (int line = 0; line < 6; ++line) entry.Text(phones[line], Phone(index, line));
  entry.Text("PR_OFFICE_LOCATION", "Building C, Room " + std::to_string(100 + index % 300));
  entry.Text("PR_STREET_ADDRESS", Pick(kStreets, index, 1));
  entry.Text("PR_LOCALITY", Pick(kCities, index, 1));
  entry.Text("PR_STATE_OR_PROVINCE", "WA");
  entry.Text("PR_POSTAL_CODE", Digits(index * 17 % 100000, 5));
  entry.Text("PR_COUNTRY", Pick(kCountries, index, 1));
  entry.Text("PR_HOME_ADDRESS_STREET", Pick(kStreets, index, 5));
  entry.Text("PR_HOME_ADDRESS_CITY", Pick(kCities, index, 5));
  entry.Text("PR_HOME_ADDRESS_STATE_OR_PROVINCE", "WA");
  entry.Text("PR_HOME_ADDRESS_POSTAL_CODE", Digits(index * 29 % 100000, 5));
  entry.Text("PR_HOME_ADDRESS_COUNTRY", Pick(kCountries, index, 3));
  entry.Raw("PR_GENDER", std::to_string(index % 3));
  entry.Text("PR_PERSONAL_HOME_PAGE", "https://" + Mail(given, "", index, "example.org/"));
  entry.Text("PR_BUSINESS_HOME_PAGE", "https://www.brightwater.example.com/");
  entry.Text("PR_BIRTHDAY", Birthday(index));
  const std::string work_mail = Mail(given, surname, index, "brightwater.example.com");
  entry.Text("PR_EMAIL_ADDRESS", work_mail);
  entry.Raw("PR_CONTACT_EMAIL_ADDRESSES",
            "[" + Quoted(work_mail) + ", " + Quoted(Mail(given, "", index, "example.org")) +
                ", " + Quoted(Mail(surname, "", index, "example.com")) + "]");
  entry.Text("PR_ENTRYID", EntryId(index));
  entry.Text("PR_LAST_MODIFICATION_TIME", ModificationTime(index));
}

// An entry as most of an address book holds them.
void CommonProperties(EntryWriter& entry, int index) {
  const std::string_view given = Pick(kGivenNames, index, 1);
  const std::string_view surname = Pick(kSurnames, index, 3);
  entry.Text("PR_DISPLAY_NAME", std::string(given) + " " + std::string(surname));
  entry.Text("PR_GIVEN_NAME", given);
  entry.Text("PR_SURNAME", surname);
  const std::string mail = Mail(given, surname, index, "example.com");
  entry.Text("PR_EMAIL_ADDRESS", mail);
  entry.Raw("PR_CONTACT_EMAIL_ADDRESSES", "[" + Quoted(mail) + "]");
  entry.Text("PR_MOBILE_TELEPHONE_NUMBER", Phone(index, 2));
  if (index % 2 == 0) WorkProperties(entry, index);
  if (index % 3 == 0) {
    entry.Text("PR_COMMENT", Pick(kNotes, index, 1));
    entry.Text("PR_BIRTHDAY", Birthday(index));
  }
  entry.Text("PR_ENTRYID", EntryId(index));
  entry.Text("PR_LAST_MODIFICATION_TIME", ModificationTime(index));
}

std::string EntryText(const std::string& properties) {
  return "    {\n      \"properties\": [\n" + properties + "\n      ]\n    }";
}

std::string MailContact(int index) {
  const std::string_view given = Pick(kGivenNames, index, 1);
  const std::string_view surname = Pick(kSurnames, index, 3);
  const std::string name = std::string(given) + " " + std::string(surname);
  std::string item = "      {\"class\": 40, \"subject\": " + Quoted(name) +
                     ",\n       \"lastModificationTime\": " + Quoted(ModificationTime(index)) +
                     ",\n       \"fullName\": " + Quoted(name) +
                     ", \"firstName\": " + Quoted(given) + ", \"lastName\": " + Quoted(surname) +
                     ",\n       \"mobileTelephoneNumber\": " + Quoted(Phone(index, 2)) +
                     ",\n       \"emailAddresses\": [" +
                     Quoted(Mail(given, surname, index, "example.com")) + "]";
  if (index % 2 == 0) {
    item += ",\n       \"companyName\": " + Quoted(Pick(kCompanies, index, 3)) +
            ", \"jobTitle\": " + Quoted(Pick(kTitles, index, 5)) +
            ",\n       \"businessTelephoneNumber\": " + Quoted(Phone(index, 1)) +
            ",\n       \"businessAddress\": {\"street\": " + Quoted(Pick(kStreets, index, 1)) +
            ", \"city\": " + Quoted(Pick(kCities, index, 1)) +
            ", \"postalCode\": " + Quoted(Digits(index * 17 % 100000, 5)) +
            ", \"country\": " + Quoted(Pick(kCountries, index, 1)) + "}";
  }
  if (index % 3 == 0) {
    item += ",\n       \"birthday\": " + Quoted(Birthday(index)) +
            ",\n       \"body\": " + Quoted(Pick(kNotes, index, 1));
  }
  return item + "}";
}

std::string MailAppointment(int index) {
  const int day = index % 28 + 1;
  const std::string date = "2025-" + Digits(index % 12 + 1, 2) + "-" + Digits(day, 2);
  std::string item = "      {\"class\": 26, \"subject\": " +
                     Quoted("Review with " + std::string(Pick(kGivenNames, index, 1))) +
                     ",\n       \"lastModificationTime\": " + Quoted(ModificationTime(index));
  if (index % 10 == 0) {
    item += ",\n       \"start\": " + Quoted(date) + ", \"end\": " + Quoted(date) +
            ", \"allDayEvent\": true";
  } else {
    const std::string hour = Digits(8 + index % 9, 2);
    item += ",\n       \"start\": " + Quoted(date + "T" + hour + ":00:00Z") +
            ", \"end\": " + Quoted(date + "T" + hour + ":45:00Z");
  }
  item += ",\n       \"location\": " + Quoted(Pick(kCities, index, 1));
  if (index % 3 == 0) item += ",\n       \"body\": " + Quoted(Pick(kNotes, index, 1));
  return item + "}";
}

std::string MailFolder(std::string_view name, std::string_view message_class,
                       const std::vector<std::string>& items) {
  std::string folder = "{\n    \"name\": " + Quoted(name) +
                       ",\n    \"defaultMessageClass\": " + Quoted(message_class) +
                       ",\n    \"items\": [\n";
  for (size_t i = 0; i < items.size(); ++i) folder += (i > 0 ? ",\n" : "") + items[i];
  return folder + "\n    ]\n  }";
}

}  // namespace

std::string FullEntryProperties() {
  EntryWriter entry;
  AllProperties(entry, 0);
  return entry.Properties();
}

std::string MinimalEntryProperties() {
  EntryWriter entry;
  entry.Text("PR_DISPLAY_NAME", "Amelia Hartwell");
  return entry.Properties();
}

std::string OneEntryAddressBook(const std::string& properties) {
  return "{\n  \"entries\": [\n" + EntryText(properties) + "\n  ]\n}\n";
}

std::string AddressBookText(int count) {
  std::string text = "{\n  \"entries\": [\n";
  for (int index = 1; index <= count; ++index) {
    EntryWriter entry;
    if (index % 5 == 0) {
      AllProperties(entry, index);
    } else {
      CommonProperties(entry, index);
    }
    text += EntryText(entry.Properties());
    text += index < count ? ",\n" : "\n";
  }
  return text + "  ]\n}\n";
}

std::string MailStoreText(int contacts, int appointments) {
  std::vector<std::string> contact_items;
  for (int index = 1; index <= contacts; ++index) contact_items.push_back(MailContact(index));
  std::vector<std::string> calendar_items;
  for (int index = 1; index <= appointments; ++index) {
    calendar_items.push_back(MailAppointment(index));
  }
  return "{\n  \"contacts\": " + MailFolder("Contacts", "IPM.Contact", contact_items) +
         ",\n  \"calendar\": " + MailFolder("Calendar", "IPM.Appointment", calendar_items) +
         "\n}\n";
}

}  // namespace orvane::bench
