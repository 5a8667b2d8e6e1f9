#include "platform/posix/address_book/document_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/address_book/tests/test_support.h"

namespace orvane::posix {
namespace {

using testing::OneEntryDocument;

std::vector<int32_t> TagsOf(const AddressBookEntry& entry) {
  std::vector<int32_t> tags;
  for (const Property& property : entry.properties) tags.push_back(property.tag);
  return tags;
}

// The single property of the single entry of a document.
PropertyValue OnlyValue(const std::string& property) {
  const ParseResult result = ParseAddressBook(OneEntryDocument(property));
  EXPECT_EQ(result.problem, "") << property;
  if (!result.document) return {};
  EXPECT_EQ(result.document->entries.size(), 1u);
  EXPECT_EQ(result.document->entries[0].properties.size(), 1u);
  return result.document->entries[0].properties.at(0).value;
}

TEST(ParseAddressBookTest, ReadsEmptyAddressBook) {
  const ParseResult result = ParseAddressBook(R"({"entries": []})");
  ASSERT_NE(result.document, nullptr) << result.problem;
  EXPECT_TRUE(result.document->entries.empty());
}

TEST(ParseAddressBookTest, KeepsEntriesAndPropertiesInFileOrderWithRepetitions) {
  const ParseResult result = ParseAddressBook(R"({"entries": [
    {"properties": [["PR_DISPLAY_NAME", "First"], ["PR_GENDER", 1],
                    ["PR_DISPLAY_NAME", "Again"], ["PR_SURNAME", "S"], ["PR_GENDER", 2]]},
    {"properties": []},
    {"properties": [["0x3A4F001E", "Nick"]]}
  ]})");
  ASSERT_NE(result.document, nullptr) << result.problem;
  const auto& entries = result.document->entries;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(TagsOf(entries[0]),
            (std::vector<int32_t>{0x3001001E, 0x3A4D0002, 0x3001001E, 0x3A11001E, 0x3A4D0002}));
  EXPECT_EQ(std::get<std::u16string>(entries[0].properties[0].value), u"First");
  EXPECT_EQ(std::get<std::u16string>(entries[0].properties[2].value), u"Again");
  EXPECT_EQ(std::get<int16_t>(entries[0].properties[4].value), 2);
  EXPECT_TRUE(entries[1].properties.empty());
  EXPECT_EQ(TagsOf(entries[2]), (std::vector<int32_t>{0x3A4F001E}));
}

TEST(ParseAddressBookTest, DecodesUtf8AndEscapes) {
  EXPECT_EQ(std::get<std::u16string>(OnlyValue(R"(["PR_DISPLAY_NAME", "陳美玲 é"])")),
            u"\u9673\u7F8E\u73B2 \u00E9");
  EXPECT_EQ(std::get<std::u16string>(OnlyValue(R"(["PR_COMMENT", "a\r\nb\t\"c\" \u00e9 \ud83d\ude00"])")),
            u"a\r\nb\t\"c\" \u00E9 \U0001F600");
}

TEST(ParseAddressBookTest, AcceptsByteOrderMarkAndCrLfLineEnds) {
  const ParseResult result =
      ParseAddressBook("\xEF\xBB\xBF{\r\n\"entries\": [\r\n{\"properties\": []}\r\n]\r\n}\r\n");
  ASSERT_NE(result.document, nullptr) << result.problem;
  EXPECT_EQ(result.document->entries.size(), 1u);
}

// What a value becomes, by the type of its tag.
struct TypeCase {
  const char* property;
  PropertyValue expected;
};

const TypeCase kTypeCases[] = {
    {R"(["PR_DISPLAY_NAME", "Ann"])", std::u16string(u"Ann")},
    {R"(["PR_DISPLAY_NAME", ""])", std::u16string()},
    {R"(["PR_GENDER", 2])", int16_t{2}},
    {R"(["PR_GENDER", -32768])", int16_t{-32768}},
    {R"(["PR_GENDER", 32767])", int16_t{32767}},
    {R"(["0x3A4D0002", -1])", int16_t{-1}},
    {R"(["PR_BIRTHDAY", "1601-01-01"])", StoredTime{0, false}},
    {R"(["PR_LAST_MODIFICATION_TIME", "1601-01-01T00:00:00.0000001Z"])", StoredTime{1, true}},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a@example.com", "", "b;c"]])",
     TextList{u"a@example.com", u"", u"b;c"}},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES", []])", TextList{}},
    // Types that no getter hands out are checked, then kept without their value.
    {R"(["PR_DISPLAY_NAME_W", "wide"])", std::monostate{}},
    {R"(["PR_CONTACT_EMAIL_ADDRESSES_W", ["a", "b"]])", std::monostate{}},
    {R"(["PR_CONTACT_DEFAULT_ADDRESS_INDEX", -2147483648])", std::monostate{}},
    {R"(["PR_CONTACT_DEFAULT_ADDRESS_INDEX", 2147483647])", std::monostate{}},
    {R"(["PR_ENTRYID", "00aaBBff"])", std::monostate{}},
    {R"(["PR_ENTRYID", ""])", std::monostate{}},
    {R"(["PR_SEND_RICH_INFO", false])", std::monostate{}},
    // Types nobody reads take any value.
    {R"(["0x12340005", 2.5])", std::monostate{}},
    {R"(["0x12340048", null])", std::monostate{}},
    {R"(["0x12341102", [["00"], {"deep": [1, {"x": []}]}]])", std::monostate{}},
    {R"(["0x1234000D", {}])", std::monostate{}},
};

class ValueTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ValueTypeTest, KeepsTheValueItsTagNames) {
  EXPECT_EQ(OnlyValue(GetParam().property), GetParam().expected) << GetParam().property;
}

INSTANTIATE_TEST_SUITE_P(Values, ValueTypeTest, ::testing::ValuesIn(kTypeCases));

TEST(ParseAddressBookTest, SkippedValueIsFollowedByTheNextProperty) {
  const ParseResult result = ParseAddressBook(OneEntryDocument(
      R"(["0x1234000D", {"a": [1, [2]]}], ["PR_DISPLAY_NAME", "After"])"));
  ASSERT_NE(result.document, nullptr) << result.problem;
  ASSERT_EQ(result.document->entries[0].properties.size(), 2u);
  EXPECT_EQ(std::get<std::u16string>(result.document->entries[0].properties[1].value), u"After");
}

// A document the library refuses, and the reason it gives.
struct ProblemCase {
  const char* name;
  std::string text;
  std::string problem;
};

const std::string kWantsTime =
    "wants an ISO 8601 time such as \"2005-03-01T12:00:00Z\" or \"1980-05-17\"";

const ProblemCase kProblemCases[] = {
    {"not an object", "[]", "line 1: the document must be an object holding \"entries\""},
    {"a number", "42", "line 1: the document must be an object holding \"entries\""},
    {"no entries", "{\n}", "line 2: the document has no \"entries\""},
    {"other root key", "{\n\"entries\": [],\n\"extra\": 1}",
     "line 3: unknown key \"extra\": the document holds only \"entries\""},
    {"entries twice", R"({"entries": [], "entries": []})", "line 1: \"entries\" appears twice"},
    {"entries not array", R"({"entries": {}})", "line 1: \"entries\" must be an array"},
    {"entry not object", "{\"entries\": [\n{\"properties\": []},\n 7]}",
     "line 3: entry 2: an entry must be an object holding \"properties\""},
    {"entry without properties", R"({"entries": [{}]})",
     "line 1: entry 1: the entry has no \"properties\""},
    {"other entry key", R"({"entries": [{"properties": [], "name": "x"}]})",
     "line 1: entry 1: unknown key \"name\": an entry holds only \"properties\""},
    {"properties twice", R"({"entries": [{"properties": [], "properties": []}]})",
     "line 1: entry 1: \"properties\" appears twice"},
    {"properties not array", R"({"entries": [{"properties": {}}]})",
     "line 1: entry 1: \"properties\" must be an array"},
    {"property not array", OneEntryDocument(R"("PR_DISPLAY_NAME")"),
     "line 1: entry 1, property 1: a property must be a [tag, value] pair"},
    {"empty property", OneEntryDocument("[]"),
     "line 1: entry 1, property 1: a property must be a [tag, value] pair"},
    {"tag alone", OneEntryDocument(R"(["PR_DISPLAY_NAME"])"),
     "line 1: entry 1, property 1: a property must be a [tag, value] pair"},
    {"three elements", OneEntryDocument(R"(["PR_DISPLAY_NAME", "a", "b"])"),
     "line 1: entry 1, property 1: a property must be a [tag, value] pair; this one has more"},
    {"numeric tag", OneEntryDocument(R"([805371934, "a"])"),
     "line 1: entry 1, property 1: the tag must be a name such as \"PR_DISPLAY_NAME\" or a "
     "number such as \"0x3001001E\""},
    {"unknown tag", OneEntryDocument(R"(["PR_DISPLAY_NAME", "a"], ["PR_NOPE", "a"])"),
     "line 1: entry 1, property 2: unknown property tag \"PR_NOPE\""},
    {"malformed hex tag", OneEntryDocument(R"(["0x3A4F00Z1", "a"])"),
     "line 1: entry 1, property 1: unknown property tag \"0x3A4F00Z1\""},
    {"text wants string", OneEntryDocument(R"(["PR_DISPLAY_NAME", 5])"),
     "line 1: entry 1, property 1: PR_DISPLAY_NAME wants a string"},
    {"text null", OneEntryDocument(R"(["PR_SURNAME", null])"),
     "line 1: entry 1, property 1: PR_SURNAME wants a string"},
    {"text list as text", OneEntryDocument(R"(["PR_SURNAME", ["a"]])"),
     "line 1: entry 1, property 1: PR_SURNAME wants a string"},
    {"wide text wants string", OneEntryDocument(R"(["PR_DISPLAY_NAME_W", true])"),
     "line 1: entry 1, property 1: PR_DISPLAY_NAME_W wants a string"},
    {"short as text", OneEntryDocument(R"(["PR_GENDER", "1"])"),
     "line 1: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"short too big", OneEntryDocument(R"(["PR_GENDER", 32768])"),
     "line 1: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"short too small", OneEntryDocument(R"(["PR_GENDER", -32769])"),
     "line 1: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"short fraction", OneEntryDocument(R"(["PR_GENDER", 1.5])"),
     "line 1: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"short huge", OneEntryDocument(R"(["PR_GENDER", 18446744073709551615])"),
     "line 1: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"short by hex tag", OneEntryDocument(R"(["0x3A4D0002", "x"])"),
     "line 1: entry 1, property 1: 0x3A4D0002 wants an integer from -32768 to 32767"},
    {"long too big", OneEntryDocument(R"(["PR_CONTACT_DEFAULT_ADDRESS_INDEX", 2147483648])"),
     "line 1: entry 1, property 1: PR_CONTACT_DEFAULT_ADDRESS_INDEX wants an integer from "
     "-2147483648 to 2147483647"},
    {"boolean as number", OneEntryDocument(R"(["PR_SEND_RICH_INFO", 1])"),
     "line 1: entry 1, property 1: PR_SEND_RICH_INFO wants true or false"},
    {"binary odd digits", OneEntryDocument(R"(["PR_ENTRYID", "abc"])"),
     "line 1: entry 1, property 1: PR_ENTRYID wants a string of hexadecimal digit pairs"},
    {"binary not hex", OneEntryDocument(R"(["PR_ENTRYID", "0g"])"),
     "line 1: entry 1, property 1: PR_ENTRYID wants a string of hexadecimal digit pairs"},
    {"time impossible", OneEntryDocument(R"(["PR_BIRTHDAY", "1980-02-30"])"),
     "line 1: entry 1, property 1: PR_BIRTHDAY " + kWantsTime},
    {"time as number", OneEntryDocument(R"(["PR_BIRTHDAY", 19800517])"),
     "line 1: entry 1, property 1: PR_BIRTHDAY " + kWantsTime},
    {"time in other form", OneEntryDocument(R"(["PR_LAST_MODIFICATION_TIME", "3/1/2005"])"),
     "line 1: entry 1, property 1: PR_LAST_MODIFICATION_TIME " + kWantsTime},
    {"list as text", OneEntryDocument(R"(["PR_CONTACT_EMAIL_ADDRESSES", "a@example.com"])"),
     "line 1: entry 1, property 1: PR_CONTACT_EMAIL_ADDRESSES wants an array of strings"},
    {"list with number", OneEntryDocument(R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a", 1]])"),
     "line 1: entry 1, property 1: PR_CONTACT_EMAIL_ADDRESSES wants an array of strings"},
    {"list with list", OneEntryDocument(R"(["PR_CONTACT_EMAIL_ADDRESSES", [["a"]]])"),
     "line 1: entry 1, property 1: PR_CONTACT_EMAIL_ADDRESSES wants an array of strings"},
    // The line is the one that holds the offending value.
    {"value on a later line",
     "{\n  \"entries\": [\n    {\"properties\": []},\n    {\"properties\": []},\n"
     "    {\"properties\": [\n      [\"PR_DISPLAY_NAME\", \"Ann\"],\n      [\"PR_GENDER\",\n"
     "        \"female\"]\n    ]}\n  ]\n}\n",
     "line 8: entry 3, property 2: PR_GENDER wants an integer from -32768 to 32767"},
    {"number at a line end",
     "{\"entries\": [{\"properties\": [\n[\"PR_GENDER\",\n70000\n]\n]}]}",
     "line 3: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
    {"cr lf line ends",
     "{\r\n\"entries\": [\r\n{\"properties\": [\r\n[\"PR_BIRTHDAY\", \"soon\"]]}]}",
     "line 4: entry 1, property 1: PR_BIRTHDAY " + kWantsTime},
    {"tag on its own line",
     "{\"entries\": [{\"properties\": [\n\n[\n\"PR_X\", 1]]}]}",
     "line 4: entry 1, property 1: unknown property tag \"PR_X\""},
};

class ProblemTest : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(ProblemTest, RefusesWithTheLineAndTheReason) {
  const ParseResult result = ParseAddressBook(GetParam().text);
  EXPECT_EQ(result.document, nullptr);
  EXPECT_EQ(result.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Documents, ProblemTest, ::testing::ValuesIn(kProblemCases),
                         testing::RowName<ProblemCase>);

// Text that is not JSON at all: the reader's own words, after the line and column.
struct SyntaxCase {
  const char* name;
  std::string text;
  std::string place;
};

const SyntaxCase kSyntaxCases[] = {
    {"empty", "", "line 1, column 1: not valid JSON: "},
    {"blank lines only", "\n\n", "line 3, column 1: not valid JSON: "},
    {"unclosed", "{\"entries\": [\n\n}", "line 3, column 1: not valid JSON: "},
    {"trailing comma", "{\"entries\": [],\n}", "line 2, column 1: not valid JSON: "},
    {"text after the end", "{\"entries\": []} x", "line 1, column 17: not valid JSON: "},
    {"comment", "// book\n{\"entries\": []}", "line 1, column 1: not valid JSON: "},
    {"single quotes", "{'entries': []}", "line 1, column 2: not valid JSON: "},
    {"invalid utf-8",
     OneEntryDocument("[\"PR_DISPLAY_NAME\", \"\xFF\"]"), "line 1, column 51: not valid JSON: "},
    {"lone surrogate escape",
     OneEntryDocument(R"(["PR_DISPLAY_NAME", "\ud800"])"), "line 1, column 57: not valid JSON: "},
};

class SyntaxTest : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SyntaxTest, RefusesWithThePlaceOfTheError) {
  const ParseResult result = ParseAddressBook(GetParam().text);
  EXPECT_EQ(result.document, nullptr);
  EXPECT_EQ(result.problem.substr(0, GetParam().place.size()), GetParam().place)
      << result.problem;
  EXPECT_GT(result.problem.size(), GetParam().place.size()) << "the reason is missing";
}

INSTANTIATE_TEST_SUITE_P(Texts, SyntaxTest, ::testing::ValuesIn(kSyntaxCases),
                         testing::RowName<SyntaxCase>);

}  // namespace
}  // namespace orvane::posix
