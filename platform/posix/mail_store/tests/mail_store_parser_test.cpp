#include "platform/posix/mail_store/mail_store_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/stamped_file.h"

namespace orvane::posix {
namespace {

// A store whose contacts folder holds `items` (the text of an array's elements).
std::string ContactsHolding(const std::string& items) {
  return "{\"contacts\": {\"items\": [" + items + "]},\n \"calendar\": {}}";
}

struct RefusedCase {
  std::string json;
  std::string problem;
};

const RefusedCase kRefused[] = {
    {"[]", "line 1: the document must be an object holding \"contacts\" and \"calendar\""},
    {"{\"contacts\": {}}", "line 1: the document has no \"calendar\""},
    {"{\"calendar\": {},\n\"contacts\": {},\n\"notes\": {}}",
     "line 3: unknown key \"notes\": the document holds \"contacts\" and \"calendar\""},
    {"{\"contacts\": {}, \"contacts\": {}}", "line 1: \"contacts\" appears twice"},
    {"{\"contacts\": [], \"calendar\": {}}", "line 1: \"contacts\": a folder must be an object"},
    {"{\"contacts\": {\"name\": 5}, \"calendar\": {}}",
     "line 1: \"contacts\": \"name\" wants a string"},
    {"{\"contacts\": {}, \"calendar\": {\"folders\": [{},\n {\"items\": [{\"class\": 26},\n"
     " {\"class\": 26, \"start\": \"2024-02-30T10:00:00Z\"}]}]}}",
     "line 3: \"calendar\", folder 2, item 2: \"start\" wants an ISO 8601 time such as "
     "\"2005-03-01T12:00:00Z\" or \"1980-05-17\""},
    {ContactsHolding("{\"class\": 40},\n{\"subject\": \"x\"}"),
     "line 2: \"contacts\", item 2: the item has no \"class\""},
    {ContactsHolding("{\"class\": 40,\n \"nickname\": \"x\"}"),
     "line 2: \"contacts\", item 1: unknown key \"nickname\": the keys are \"class\", "
     "\"subject\" and the item fields in the README"},
    {ContactsHolding("{\"class\": \"40\"}"),
     "line 1: \"contacts\", item 1: \"class\" wants an integer from -2147483648 to 2147483647"},
    {ContactsHolding("{\"class\": 2147483648}"),
     "line 1: \"contacts\", item 1: \"class\" wants an integer from -2147483648 to 2147483647"},
    {ContactsHolding("{\"class\": 40, \"allDayEvent\": 1}"),
     "line 1: \"contacts\", item 1: \"allDayEvent\" wants true or false"},
    {ContactsHolding("{\"class\": 40, \"emailAddresses\": [\"a\", \"b\", \"c\",\n \"d\"]}"),
     "line 1: \"contacts\", item 1: \"emailAddresses\" wants at most 3 addresses"},
    {ContactsHolding("{\"class\": 40, \"emailAddresses\": [\"a\",\n 7]}"),
     "line 2: \"contacts\", item 1: each element wants a string"},
    {ContactsHolding("{\"class\": 40, \"homeAddress\": {\"street\": \"x\",\n \"zip\": \"1\"}}"),
     "line 2: \"contacts\", item 1: unknown key \"zip\": the keys are \"street\", \"city\", "
     "\"state\", \"postalCode\" and \"country\""},
    {ContactsHolding("{\"class\": 40, \"birthday\": \"yesterday\"}"),
     "line 1: \"contacts\", item 1: \"birthday\" wants an ISO 8601 time such as "
     "\"2005-03-01T12:00:00Z\" or \"1980-05-17\""},
    {ContactsHolding("{\"class\": 40, \"lastModificationTime\": 0}"),
     "line 1: \"contacts\", item 1: \"lastModificationTime\" wants an ISO 8601 time such as "
     "\"2005-03-01T12:00:00Z\" or \"1980-05-17\""},
    {ContactsHolding("7"), "line 1: \"contacts\", item 1: an item must be an object"},
    {"{\"contacts\": {\"items\": {}}, \"calendar\": {}}",
     "line 1: \"contacts\": \"items\" wants an array"},
    {"{\"contacts\": {},\n\"calendar\": {\"name\": \"x\",}}",
     "line 2, column 26: not valid JSON: missing a name for object member"},
    {"", "line 1, column 1: not valid JSON: the document is empty"},
};

TEST(MailStoreParserTest, RefusesNestingTooDeepWithoutRecursingThroughIt) {
  const size_t depth = 1'000'000;
  const std::string json =
      "{\"contacts\": {\"folders\": " + std::string(depth, '[') + std::string(depth, ']') + "}}";
  const ParsedText<MailStoreDocument> parsed = ParseMailStore(json);
  EXPECT_EQ(parsed.document, nullptr);
  EXPECT_EQ(parsed.problem, "line 1: objects and arrays nested more than 200 deep");
  const std::string deep_folders = "{\"calendar\": {}, \"contacts\": " +
                                   [] {
                                     std::string folders = "{}";
                                     for (int i = 0; i < 90; ++i) {
                                       folders = "{\"folders\": [" + folders + "]}";
                                     }
                                     return folders;
                                   }() +
                                   "}";
  EXPECT_NE(ParseMailStore(deep_folders).document, nullptr) << ParseMailStore(deep_folders).problem;
}

TEST(MailStoreParserTest, RefusesWithLineAndPlaceTable) {
  for (const auto& [json, problem] : kRefused) {
    const ParsedText<MailStoreDocument> parsed = ParseMailStore(json);
    EXPECT_EQ(parsed.document, nullptr) << json;
    EXPECT_EQ(parsed.problem, problem) << json;
  }
}

TEST(MailStoreParserTest, ReadsEveryFieldOfAnItem) {
  const auto parsed = ParseMailStore(ContactsHolding(R"({
      "class": 40, "subject": "Dr. 陳美玲", "lastModificationTime": "2024-11-02T09:15:30Z",
      "fullName": "陳美玲", "title": "Dr.", "firstName": "美玲", "middleName": "M",
      "lastName": "陳", "suffix": "Jr.", "companyName": "C", "department": "D",
      "jobTitle": "J", "businessTelephoneNumber": "1", "homeTelephoneNumber": "2",
      "mobileTelephoneNumber": "3", "businessFaxNumber": "4",
      "businessAddress": {"street": "1 Road\r\nUnit 2", "city": "Ci", "state": "S",
                          "postalCode": "P", "country": "Co"},
      "homeAddress": {"city": "H"}, "emailAddresses": ["a@x", "b@x", "c@x"],
      "webPage": "http://w", "birthday": "1980-05-17", "body": "n1\r\nn2",
      "start": "2024-03-01T09:00:00Z", "end": "2024-03-01T10:00", "allDayEvent": true,
      "location": "L", "recurrenceState": 1, "recurrenceRule": "W1 MO WE #10"})"));
  ASSERT_NE(parsed.document, nullptr) << parsed.problem;
  ASSERT_EQ(parsed.document->contacts.items.size(), 1u);
  const MailItem& item = parsed.document->contacts.items[0];
  const std::pair<std::u16string, std::u16string> texts[] = {
      {item.subject, u"Dr. 陳美玲"},
      {item.full_name, u"陳美玲"},
      {item.title, u"Dr."},
      {item.first_name, u"美玲"},
      {item.middle_name, u"M"},
      {item.last_name, u"陳"},
      {item.suffix, u"Jr."},
      {item.company_name, u"C"},
      {item.department, u"D"},
      {item.job_title, u"J"},
      {item.business_telephone, u"1"},
      {item.home_telephone, u"2"},
      {item.mobile_telephone, u"3"},
      {item.business_fax, u"4"},
      {item.business_address.street, u"1 Road\r\nUnit 2"},
      {item.business_address.city, u"Ci"},
      {item.business_address.state, u"S"},
      {item.business_address.postal_code, u"P"},
      {item.business_address.country, u"Co"},
      {item.home_address.city, u"H"},
      {item.web_page, u"http://w"},
      {item.body, u"n1\r\nn2"},
      {item.location, u"L"},
      {item.recurrence_rule, u"W1 MO WE #10"},
  };
  for (size_t i = 0; i < std::size(texts); ++i) EXPECT_EQ(texts[i].first, texts[i].second) << i;
  EXPECT_EQ(item.item_class, 40);
  EXPECT_EQ(item.email_addresses, (std::vector<std::u16string>{u"a@x", u"b@x", u"c@x"}));
  EXPECT_TRUE(item.all_day);
  EXPECT_EQ(item.recurrence_state, 1);
  ASSERT_TRUE(item.last_modification_time && item.birthday && item.start && item.end);
  EXPECT_TRUE(item.last_modification_time->universal);
  EXPECT_TRUE(item.start->universal);
  EXPECT_FALSE(item.end->universal);
  EXPECT_FALSE(item.birthday->universal);
  EXPECT_TRUE(item.home_address.street.empty());
}

TEST(MailStoreParserTest, KeepsFoldersAndItemsInDocumentOrder) {
  const auto parsed = ParseMailStore(R"({"calendar": {"name": "Cal"}, "contacts": {
      "name": "Contacts", "defaultMessageClass": "IPM.Contact",
      "folders": [{"name": "B", "items": [{"class": 2}, {"class": 1}]},
                  {"name": "A", "defaultMessageClass": "IPM.Note",
                   "folders": [{"name": "A1"}]}],
      "items": [{"class": 69, "subject": "z"}, {"class": 40, "subject": "a"}]}})");
  ASSERT_NE(parsed.document, nullptr) << parsed.problem;
  const MailFolder& contacts = parsed.document->contacts;
  EXPECT_EQ(contacts.default_message_class, u"IPM.Contact");
  ASSERT_EQ(contacts.items.size(), 2u);
  EXPECT_EQ(contacts.items[0].subject, u"z");
  EXPECT_EQ(contacts.items[1].subject, u"a");
  ASSERT_EQ(contacts.folders.size(), 2u);
  EXPECT_EQ(contacts.folders[0].name, u"B");
  EXPECT_EQ(contacts.folders[0].items[0].item_class, 2);
  EXPECT_EQ(contacts.folders[1].default_message_class, u"IPM.Note");
  ASSERT_EQ(contacts.folders[1].folders.size(), 1u);
  EXPECT_EQ(contacts.folders[1].folders[0].name, u"A1");
  EXPECT_EQ(parsed.document->calendar.name, u"Cal");
}

TEST(MailStoreParserTest, ReadsTheSampleStore) {
  const auto read = MakePosixFileReader()->Read(ORVANE_SAMPLES_FOLDER "/mail-store.json");
  ASSERT_TRUE(std::holds_alternative<FileContent>(read));
  const auto parsed = ParseMailStore(std::get<FileContent>(read).bytes);
  ASSERT_NE(parsed.document, nullptr) << parsed.problem;
  EXPECT_FALSE(parsed.document->contacts.items.empty());
  EXPECT_FALSE(parsed.document->calendar.items.empty());
}

}  // namespace
}  // namespace orvane::posix
