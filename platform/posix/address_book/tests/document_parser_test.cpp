#include "platform/posix/address_book/document_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "platform/posix/stamped_file.h"
#include "platform/posix/address_book/property_reading.h"
#include "platform/posix/address_book/property_tags.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

std::string OneEntryDocument(const std::string& properties) {
  return "{\"entries\": [{\"properties\": [" + properties + "]}]}";
}

// Every tag the address-book vCard writer reads, with its published value. The sample
// address book names each one, so reading it checks the names as well.
constexpr std::pair<const char*, uint32_t> kWriterTags[] = {
    {"PR_SURNAME", 0x3A11001E}, {"PR_GIVEN_NAME", 0x3A06001E}, {"PR_GENERATION", 0x3A05001E},
    {"PR_DISPLAY_NAME_PREFIX", 0x3A45001E}, {"PR_DISPLAY_NAME", 0x3001001E},
    {"PR_TITLE", 0x3A17001E}, {"PR_NICKNAME", 0x3A4F001E}, {"PR_COMPANY_NAME", 0x3A16001E},
    {"PR_COMMENT", 0x3004001E},
    {"PR_DEPARTMENT_NAME", 0x3A18001E}, {"PR_COUNTRY", 0x3A26001E}, {"PR_LOCALITY", 0x3A27001E},
    {"PR_BUSINESS_TELEPHONE_NUMBER", 0x3A08001E}, {"PR_HOME_TELEPHONE_NUMBER", 0x3A09001E},
    {"PR_MOBILE_TELEPHONE_NUMBER", 0x3A1C001E}, {"PR_PAGER_TELEPHONE_NUMBER", 0x3A21001E},
    {"PR_BUSINESS_FAX_NUMBER", 0x3A24001E}, {"PR_HOME_FAX_NUMBER", 0x3A25001E},
    {"PR_OFFICE_LOCATION", 0x3A19001E}, {"PR_STREET_ADDRESS", 0x3A29001E},
    {"PR_STATE_OR_PROVINCE", 0x3A28001E}, {"PR_POSTAL_CODE", 0x3A2A001E},
    {"PR_HOME_ADDRESS_STREET", 0x3A5D001E}, {"PR_HOME_ADDRESS_CITY", 0x3A59001E},
    {"PR_HOME_ADDRESS_STATE_OR_PROVINCE", 0x3A5C001E}, {"PR_HOME_ADDRESS_POSTAL_CODE", 0x3A5B001E},
    {"PR_HOME_ADDRESS_COUNTRY", 0x3A5A001E}, {"PR_GENDER", 0x3A4D0002}, {"PR_BIRTHDAY", 0x3A420040},
    {"PR_PERSONAL_HOME_PAGE", 0x3A50001E}, {"PR_BUSINESS_HOME_PAGE", 0x3A51001E},
    {"PR_PROFESSION", 0x3A46001E}, {"PR_EMAIL_ADDRESS", 0x3003001E},
    {"PR_CONTACT_EMAIL_ADDRESSES", 0x3A56101E}, {"PR_LAST_MODIFICATION_TIME", 0x30080040},
};

// The 8-bit and wide forms of text tags, hexadecimal tags; 0 is no tag.
const std::pair<const char*, uint32_t> kOtherTags[] = {
    {"PR_DISPLAY_NAME_A", 0x3001001E}, {"PR_DISPLAY_NAME_W", 0x3001001F},
    {"0x3A4F001E", 0x3A4F001E}, {"0X3a4f001e", 0x3A4F001E}, {"PR_GENDER_W", 0},
    {"PR_DISPLAY_NAME_X", 0}, {"0x000000001", 0}, {"0x", 0}, {"0x3A4G001E", 0}, {"0x-1", 0},
    {"3A4F001E", 0}, {"0x00000000", 0},
};

TEST(PropertyTagsTest, SuffixedNamesAndHexadecimalTagsTable) {
  for (const auto& [text, tag] : kOtherTags) {
    EXPECT_EQ(TagFromText(text).value_or(0), static_cast<int32_t>(tag)) << text;
  }
}

using TextList = std::vector<std::u16string>;
// A property's value as a reader of the document sees it; nothing for a type
// that no getter hands out.
using Value = std::variant<std::monostate, std::u16string, int16_t, StoredTime, TextList>;

Value ValueOf(const AddressBookDocument& document, const Property& property) {
  if (const auto text = property.Text()) return DecodeUtf8(document.TextOf(*text));
  if (const auto number = property.Short()) return *number;
  if (const auto time = property.Time()) return *time;
  if (const auto list = property.TextList()) {
    TextList elements;
    for (const TextSpan element : document.ElementsOf(*list)) {
      elements.push_back(DecodeUtf8(document.TextOf(element)));
    }
    return elements;
  }
  return std::monostate{};
}

const std::pair<const char*, Value> kTypeCases[] = {
    {R"(["PR_SURNAME", "陳美玲 \"é\"\r\n\ud83d\ude00"])", std::u16string(u"陳美玲 \"é\"\r\n😀")},
    {R"(["PR_GENDER", -32768])", int16_t{-32768}},
    {R"(["PR_LAST_MODIFICATION_TIME", "1601-01-01T00:00:00.0000001Z"])", StoredTime{1, true}},
    {R"(["PR_BIRTHDAY", "1601-01-01"])", StoredTime{0, false}},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a", "", "b;c"]])", TextList{u"a", u"", u"b;c"}},
    // Types that no getter hands out are checked, then kept without their value; a
    // skipped value must not swallow what follows it.
    {R"(["PR_CONTACT_EMAIL_ADDRESSES_W", ["a"]])", std::monostate{}},
    {R"(["PR_CONTACT_DEFAULT_ADDRESS_INDEX", -2147483648])", std::monostate{}},
    {R"(["PR_ENTRYID", "00aaBBff"])", std::monostate{}},
    {R"(["PR_SEND_RICH_INFO", false])", std::monostate{}},
    {R"(["0x12340005", 2.5])", std::monostate{}},  // types nobody reads take any value
    {R"(["0x1234000D", {"a": [1, [2]]}], ["PR_SURNAME", "after"])", std::u16string(u"after")},
};

TEST(ParseAddressBookTest, KeepsTheValueOfTheTypeItsTagNames) {
  for (const auto& [properties, expected] : kTypeCases) {
    const ParseResult result = ParseAddressBook(OneEntryDocument(properties));
    ASSERT_NE(result.document, nullptr) << result.problem;
    const AddressBookDocument& document = *result.document;
    EXPECT_EQ(ValueOf(document, document.entries.at(0).properties.back()), expected) << properties;
  }
}

const std::string kShort = " wants an integer from -32768 to 32767";
const std::string kTime =
    " wants an ISO 8601 time such as \"2005-03-01T12:00:00Z\" or \"1980-05-17\"";
const std::string kPair = "a property must be a [tag, value] pair";
const std::string kList = "PR_CONTACT_EMAIL_ADDRESSES wants an array of strings";

// The one property of an entry that the library refuses, and why.
const std::pair<const char*, std::string> kPropertyProblems[] = {
    {R"("PR_SURNAME")", kPair},
    {R"(["PR_SURNAME"])", kPair},
    {R"(["PR_SURNAME", "a", "b"])", kPair + "; this one has more"},
    {R"([805371934, "a"])",
     "the tag must be a name such as \"PR_DISPLAY_NAME\" or a number such as \"0x3001001E\""},
    {R"(["0x3A4F00Z1", "a"])", "unknown property tag \"0x3A4F00Z1\""},
    {R"(["PR_SURNAME", null])", "PR_SURNAME wants a string"},
    {R"(["PR_DISPLAY_NAME_W", ["a"]])", "PR_DISPLAY_NAME_W wants a string"},
    {R"(["PR_GENDER", "1"])", "PR_GENDER" + kShort},
    {R"(["PR_GENDER", 32768])", "PR_GENDER" + kShort},
    {R"(["PR_GENDER", -32769])", "PR_GENDER" + kShort},
    {R"(["0x3A4D0002", 18446744073709551615])", "0x3A4D0002" + kShort},
    {R"(["PR_CONTACT_DEFAULT_ADDRESS_INDEX", 2147483648])",
     "PR_CONTACT_DEFAULT_ADDRESS_INDEX wants an integer from -2147483648 to 2147483647"},
    {R"(["PR_SEND_RICH_INFO", 1])", "PR_SEND_RICH_INFO wants true or false"},
    {R"(["PR_ENTRYID", "abc"])", "PR_ENTRYID wants a string of hexadecimal digit pairs"},
    {R"(["PR_ENTRYID", "0g"])", "PR_ENTRYID wants a string of hexadecimal digit pairs"},
    {R"(["PR_BIRTHDAY", 19800517])", "PR_BIRTHDAY" + kTime},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES", "a"])", kList},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a", 1]])", kList},
};

// Documents of another shape; the line named is the one that holds the offending part.
const std::pair<std::string, std::string> kDocumentProblems[] = {
    {"42", "line 1: the document must be an object holding \"entries\""},
    {"{\n}", "line 2: the document has no \"entries\""},
    {"{\n\"entries\": [],\n\"x\": 1}",
     "line 3: unknown key \"x\": the document holds only \"entries\""},
    {R"({"entries": [], "entries": []})", "line 1: \"entries\" appears twice"},
    {R"({"entries": {}})", "line 1: \"entries\" must be an array"},
    {"{\"entries\": [{\"properties\": []},\n 7]}",
     "line 2: entry 2: an entry must be an object holding \"properties\""},
    {R"({"entries": [{}]})", "line 1: entry 1: the entry has no \"properties\""},
    {R"({"entries": [{"properties": [], "x": 1}]})",
     "line 1: entry 1: unknown key \"x\": an entry holds only \"properties\""},
    {R"({"entries": [{"properties": [], "properties": []}]})",
     "line 1: entry 1: \"properties\" appears twice"},
    {R"({"entries": [{"properties": {}}]})", "line 1: entry 1: \"properties\" must be an array"},
    {"{\"entries\": [{\"properties\": []}, {\"properties\": [\n[\"PR_SURNAME\", \"S\"],\n"
     "[\"PR_GENDER\",\n  \"f\"]]}]}", "line 4: entry 2, property 2: PR_GENDER" + kShort},
    // A number is only known to end at the line break after it, which does not count.
    {"{\"entries\": [{\"properties\": [\n[\"PR_GENDER\",\n70000\n]\n]}]}",
     "line 3: entry 1, property 1: PR_GENDER" + kShort},
    // Text that is not JSON: the place, then the reader's own words.
    {"{\"entries\": [\n\n}", "line 3, column 1: not valid JSON: "},
    {OneEntryDocument("[\"PR_SURNAME\", \"\xFF\"]"), "line 1, column 46: not valid JSON: "},
    // A lone surrogate is no character either, also where an escape writes it.
    {OneEntryDocument("[\"PR_SURNAME\", \"a\xED\xA0\x80\"]"),
     "line 1, column 47: not valid JSON: "},
    {OneEntryDocument("[\"PR_SURNAME\", \"\\udc00\"]"), "line 1, column 46: not valid JSON: "},
};

TEST(ParseAddressBookTest, RefusesWithTheLineAndTheReason) {
  for (const auto& [property, problem] : kPropertyProblems) {
    const ParseResult result = ParseAddressBook(OneEntryDocument(property));
    EXPECT_EQ(result.document, nullptr) << property;
    EXPECT_EQ(result.problem, "line 1: entry 1, property 1: " + problem);
  }
  for (const auto& [text, problem] : kDocumentProblems) {
    const ParseResult result = ParseAddressBook(text);
    EXPECT_EQ(result.document, nullptr) << text;
    // The JSON reader's own words follow its place.
    EXPECT_EQ(result.problem.substr(0, problem.size()), problem);
    EXPECT_EQ(result.problem.size() > problem.size(), problem.ends_with(": ")) << result.problem;
  }
}

// The sample address book shows every tag the writer reads and the texts that need care.
TEST(ParseAddressBookTest, ReadsTheSampleAddressBook) {
  const auto read = MakePosixFileReader()->Read(ORVANE_SAMPLES_FOLDER "/address-book.json");
  ASSERT_TRUE(std::holds_alternative<FileContent>(read));
  const ParseResult result = ParseAddressBook(std::get<FileContent>(std::move(read)).bytes);
  ASSERT_NE(result.document, nullptr) << result.problem;
  const auto& entries = result.document->entries;
  // Whether some entry's value of `tag` passes `holds`.
  const auto some = [&](int32_t tag, auto holds) {
    return std::ranges::any_of(entries, [&](const AddressBookEntry& entry) {
      const Property* property = LastPropertyOf(entry, tag);
      return property != nullptr && holds(ValueOf(*result.document, *property));
    });
  };
  const auto is = [](Value wanted) {
    return [=](const Value& value) { return value == wanted; };
  };
  const auto multi_line = [](const Value& value) {
    return std::get<std::u16string>(value).find(u"\r\n") != std::u16string::npos;
  };
  for (const auto& [name, tag] : kWriterTags) {
    EXPECT_TRUE(some(static_cast<int32_t>(tag), [](const auto&) { return true; })) << name;
  }
  for (const int16_t gender : {int16_t{0}, int16_t{1}, int16_t{2}}) {
    EXPECT_TRUE(some(0x3A4D0002, is(gender))) << gender;
  }
  for (const char16_t* name : {u"Amelia Hartwell", u"陳美玲", u"王建国"}) {
    EXPECT_TRUE(some(0x3001001E, is(std::u16string(name))));
  }
  EXPECT_TRUE(some(0x3004001E, multi_line));
  EXPECT_TRUE(some(0x3A29001E, multi_line));
  EXPECT_TRUE(some(0x3A56101E, [](const Value& list) {
    return std::get<TextList>(list).size() >= 3;
  }));
  EXPECT_TRUE(std::ranges::any_of(entries, [](const AddressBookEntry& entry) {
    return entry.properties.size() == 1 && entry.properties[0].tag() == 0x3001001E;
  }));
}

}  // namespace
}  // namespace orvane::posix
