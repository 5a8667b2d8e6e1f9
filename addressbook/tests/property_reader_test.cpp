#include "addressbook/property_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/card_assertions.h"
#include "addressbook/tests/fake_address_book.h"
#include "addressbook/tests/fake_call.h"

namespace orvane::testing {
namespace {

// Rows print as their names.
using orvane::testing::PrintTo;

constexpr int32_t kText = tags::PR_DISPLAY_NAME;
constexpr int32_t kShort = tags::PR_GENDER;
constexpr int32_t kTime = tags::PR_LAST_MODIFICATION_TIME;
constexpr int32_t kList = tags::PR_CONTACT_EMAIL_ADDRESSES;
constexpr int32_t kLong = 0x3A000003;
constexpr int32_t kBinary = 0x3A000102;
constexpr int32_t kWideText = 0x3001001F;

const FileTime kBeyondSystemTimes = FileTime::FromTicks(uint64_t{1} << 63);

// Reads `tag` of the one entry of a fresh book.
struct OneEntry {
  explicit OneEntry(FakeEntry entry, uint32_t code_page = 1252)
      : book(std::make_shared<FakeAddressBook>(std::vector<FakeEntry>{std::move(entry)})),
        call(book, code_page) {
    call.FetchEntries();
  }
  std::u16string Read(int32_t tag) { return GetWabPropText(call.context, tag, 1); }

  std::shared_ptr<FakeAddressBook> book;
  FakeCall call;
};

struct ValueCase {
  const char* name;
  FakeEntry entry;
  int32_t tag;
  std::u16string expected;
};

class PropertyText : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PropertyText, IsTheValueAsText) {
  OneEntry book(GetParam().entry);
  EXPECT_EQ(Visible(book.Read(GetParam().tag)), Visible(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PropertyText,
    ::testing::Values(
        ValueCase{"Text", FakeEntry().Text(kText, "Ann Lee"), kText, u"Ann Lee"},
        ValueCase{"TextInCodePage", FakeEntry().Text(kText, "Ren\xE9"), kText, u"René"},
        ValueCase{"EmptyText", FakeEntry().Text(kText, ""), kText, u""},
        ValueCase{"MinusOne", FakeEntry().Short(kShort, -1), kShort, u"-1"},
        ValueCase{"Zero", FakeEntry().Short(kShort, 0), kShort, u"0"},
        ValueCase{"Two", FakeEntry().Short(kShort, 2), kShort, u"2"},
        ValueCase{"Smallest", FakeEntry().Short(kShort, INT16_MIN), kShort, u"-32768"},
        ValueCase{"Midnight", FakeEntry().Time(kTime, FileTimeOf({1980, 5, 17, 0, 0, 0})), kTime,
                  u"1980-05-17"},
        ValueCase{"TimeOfDay", FakeEntry().Time(kTime, FileTimeOf({2005, 3, 1, 12, 34, 56}, 789)),
                  kTime, u"2005-03-01 12:34:56"},
        ValueCase{"OneSecondPastMidnight",
                  FakeEntry().Time(kTime, FileTimeOf({2005, 3, 1, 0, 0, 1})), kTime,
                  u"2005-03-01 00:00:01"},
        ValueCase{"TimeNoSystemTimeTakes", FakeEntry().Time(kTime, kBeyondSystemTimes), kTime,
                  u""},
        ValueCase{"TwoElements", FakeEntry().List(kList, {"a", "b"}), kList, u"a;b"},
        ValueCase{"NoElements", FakeEntry().List(kList, {}), kList, u""},
        ValueCase{"EmptyFirstElement", FakeEntry().List(kList, {"", "b"}), kList, u"b"},
        ValueCase{"EmptyLastElement", FakeEntry().List(kList, {"a", ""}), kList, u"a;"},
        ValueCase{"ElementHoldingSeparator", FakeEntry().List(kList, {"a;b", "c"}), kList,
                  u"a;b;c"},
        ValueCase{"LongType", FakeEntry().Text(kLong, "7"), kLong, u""},
        ValueCase{"BinaryType", FakeEntry().Text(kBinary, "x"), kBinary, u""},
        ValueCase{"WideTextType", FakeEntry().Text(kWideText, "Ann"), kWideText, u""},
        ValueCase{"Absent", FakeEntry().Text(kText, "Ann"), tags::PR_SURNAME, u""},
        ValueCase{"UnreadableText", FakeEntry().Unreadable(kText), kText, u""},
        ValueCase{"UnreadableShort", FakeEntry().Unreadable(kShort), kShort, u""},
        ValueCase{"UnreadableTime", FakeEntry().Unreadable(kTime), kTime, u""},
        ValueCase{"UnreadableList", FakeEntry().Unreadable(kList), kList, u""}),
    RowName<ValueCase>);

TEST(PropertyText, TypesNotHandledCallNoGetter) {
  for (const int32_t tag : {kLong, kBinary, kWideText}) {
    OneEntry book(FakeEntry().Text(tag, "value"));
    book.Read(tag);
    EXPECT_EQ(book.book->reads.size(), 0u) << std::hex << tag;
  }
}

TEST(PropertyText, DoubleByteTextIsConverted) {
  OneEntry book(FakeEntry().Text(kText, "\xA4\xA4\xA4\xE5"), 950);
  EXPECT_EQ(Visible(book.Read(kText)), Visible(u"中文"));
}

TEST(PropertyText, EntryOutsideTheListReadsNothing) {
  for (const int32_t index : {0, -1, 2, INT32_MAX, INT32_MIN}) {
    OneEntry book(FakeEntry().Text(kText, "Ann"));
    EXPECT_EQ(GetWabPropText(book.call.context, kText, index), u"") << index;
    EXPECT_EQ(book.book->calls.get_prop_type + book.book->calls.get_string, 0) << index;
  }
}

TEST(PropertyText, ThrowingLibraryReadsAsEmpty) {
  OneEntry book(FakeEntry().Text(kText, "Ann"));
  book.book->failures.read = FailNthRead(1);
  book.book->failures.throw_on_failed_read = true;
  EXPECT_EQ(book.Read(kText), u"");
}

// Values longer than the first buffer come back whole, read again with a buffer that fits.
struct LengthCase {
  size_t length;
  std::vector<int32_t> buffer_sizes;
};

class LongText : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LongText, ComesBackWhole) {
  const std::string value(GetParam().length, 'n');
  OneEntry book(FakeEntry().Text(tags::PR_COMMENT, value));
  EXPECT_EQ(book.Read(tags::PR_COMMENT), std::u16string(value.size(), u'n'));
  std::vector<int32_t> sizes;
  for (const FakeRead& read : book.book->reads) sizes.push_back(read.buffer_size);
  EXPECT_EQ(sizes, GetParam().buffer_sizes);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongText,
                         ::testing::Values(LengthCase{127, {128}}, LengthCase{128, {128, 129}},
                                           LengthCase{1000, {128, 1001}},
                                           LengthCase{70000, {128, 70001}}));

TEST(LongListElement, ComesBackWholeAfterAFirstBufferOf256) {
  const std::string long_address(300, 'x');
  OneEntry book(FakeEntry().List(kList, {"a", long_address, "c"}));
  EXPECT_EQ(book.Read(kList), u"a;" + std::u16string(300, u'x') + u";c");
  std::vector<int32_t> element_sizes;
  for (const FakeRead& read : book.book->reads) {
    if (read.kind == ReadKind::kListElement) element_sizes.push_back(read.buffer_size);
  }
  EXPECT_EQ(element_sizes, (std::vector<int32_t>{256, 256, 301, 256}));
}

// A list element that cannot be read is left out; the others keep their order.
struct LostElementCase {
  int32_t failing_index;
  std::u16string expected;
};

class LostListElement : public ::testing::TestWithParam<LostElementCase> {};

TEST_P(LostListElement, KeepsTheOthers) {
  OneEntry book(FakeEntry().List(kList, {"a", "b", "c"}));
  book.book->failures.read = FailListElement(kList, GetParam().failing_index);
  EXPECT_EQ(Visible(book.Read(kList)), Visible(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Elements, LostListElement,
                         ::testing::Values(LostElementCase{0, u"b;c"}, LostElementCase{1, u"a;c"},
                                           LostElementCase{2, u"a;b"}));

// A library that never has enough: it always asks for a larger buffer.
class EverGrowingLibrary final : public AddressBookLibrary {
 public:
  explicit EverGrowingLibrary(int32_t required) : required_(required) {}
  int32_t kWabOpen(WabContext&) override { return 1; }
  int32_t kWabClose(WabContext&) override { return 1; }
  int32_t kWabGetNumEntries(WabContext&) override { return 1; }
  int32_t kWabGetEntries(WabContext&, WabEntry*, int32_t) override { return 1; }
  int32_t kWabFreeEntries(WabContext&, WabEntry*, int32_t) override { return 1; }
  int32_t kWabGetNumProps(WabContext&, WabEntry&) override { return 1; }
  int32_t kWabGetPropTag(WabContext&, WabEntry&, int32_t, int32_t) override { return kText; }
  int32_t kWabGetPropType(int32_t tag) override { return tag & 0xFFFF; }
  int16_t kWabGetProp_String(WabContext&, WabEntry&, int32_t, char*, int32_t size,
                             int32_t* required) override {
    ++reads;
    *required = required_ == 0 ? size * 2 : required_;
    return 0;
  }
  int16_t kWabGetProp_Short(WabContext&, WabEntry&, int32_t, int16_t&) override { return 0; }
  int16_t kWabGetProp_SysTime(WabContext&, WabEntry&, int32_t, FileTime&) override { return 0; }
  int16_t kWabGetProp_MV_String_Count(WabContext&, WabEntry&, int32_t, int32_t&) override {
    return 0;
  }
  int16_t kWabGetProp_MV_String_Data(WabContext&, WabEntry&, int32_t, char*, int32_t,
                                     int32_t*, int32_t) override {
    return 0;
  }
  int reads = 0;

 private:
  int32_t required_;
};

TEST(UnreadableLength, GivesUpInsteadOfLoopingOrAllocatingWithoutBound) {
  for (const int32_t required : {0, INT32_MAX}) {
    auto library = std::make_shared<EverGrowingLibrary>(required);
    FakeCall call(std::make_shared<FakeAddressBook>());
    call.platform.address_book = library;
    call.state.WabEntries.assign(2, WabEntry{1});
    EXPECT_EQ(GetWabPropText(call.context, kText, 1), u"");
    EXPECT_LE(library->reads, 3) << required;
  }
}

TEST(FileTimeToFields, CopiesTheEightFields) {
  FakeFileTimes converter;
  int16_t year = 0, month = 0, day_of_week = 0, day = 0, hour = 0, minute = 0, second = 0,
          milliseconds = 0;
  ASSERT_TRUE(FileTimeToFields(converter, FileTimeOf({2005, 3, 1, 12, 34, 56}, 789), year, month,
                               day_of_week, day, hour, minute, second, milliseconds));
  const std::vector<int16_t> fields = {year, month, day_of_week, day,
                                       hour, minute, second, milliseconds};
  EXPECT_EQ(fields, (std::vector<int16_t>{2005, 3, 2, 1, 12, 34, 56, 789}));
}

TEST(FileTimeToFields, FailureLeavesTheFieldsUntouched) {
  FakeFileTimes converter;
  int16_t f[8] = {-7, -7, -7, -7, -7, -7, -7, -7};
  EXPECT_FALSE(FileTimeToFields(converter, kBeyondSystemTimes, f[0], f[1], f[2], f[3], f[4], f[5],
                                f[6], f[7]));
  for (const int16_t field : f) EXPECT_EQ(field, -7);
}

TEST(FileTimeToDate, DropsTheMilliseconds) {
  FakeFileTimes converter;
  AutomationDate date = 0;
  ASSERT_TRUE(FileTimeToDate(converter, FileTimeOf({2005, 3, 1, 12, 0, 0}, 999), date));
  EXPECT_EQ(PartsFromAutomationDate(date), (DateTimeParts{2005, 3, 1, 12, 0, 0}));
}

TEST(FileTimeToDate, FailureLeavesTheDateUntouched) {
  FakeFileTimes converter;
  AutomationDate date = 1234.5;
  EXPECT_FALSE(FileTimeToDate(converter, kBeyondSystemTimes, date));
  EXPECT_EQ(date, 1234.5);
}

struct DateTextCase {
  DateTimeParts parts;
  std::u16string text;
};

class WabDateText : public ::testing::TestWithParam<DateTextCase> {};

TEST_P(WabDateText, IsWrittenAndReadBack) {
  const AutomationDate date = AutomationDateFromParts(GetParam().parts);
  EXPECT_EQ(Visible(FormatWabDateText(date)), Visible(GetParam().text));
  const auto read = ReadWabDateText(GetParam().text);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(PartsFromAutomationDate(*read), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, WabDateText,
    ::testing::Values(DateTextCase{{2005, 3, 1, 0, 0, 0}, u"2005-03-01"},
                      DateTextCase{{2005, 3, 1, 12, 34, 56}, u"2005-03-01 12:34:56"},
                      DateTextCase{{1899, 12, 30, 0, 0, 0}, u"1899-12-30"},
                      DateTextCase{{1899, 12, 29, 6, 0, 0}, u"1899-12-29 06:00:00"},
                      DateTextCase{{1601, 1, 1, 0, 0, 1}, u"1601-01-01 00:00:01"},
                      DateTextCase{{2004, 2, 29, 23, 59, 59}, u"2004-02-29 23:59:59"},
                      DateTextCase{{9999, 12, 31, 23, 59, 59}, u"9999-12-31 23:59:59"},
                      DateTextCase{{100, 1, 1, 0, 0, 0}, u"0100-01-01"}));

class NotADateText : public ::testing::TestWithParam<std::u16string> {};

TEST_P(NotADateText, ReadsAsNothing) { EXPECT_FALSE(ReadWabDateText(GetParam()).has_value()); }

INSTANTIATE_TEST_SUITE_P(Texts, NotADateText,
                         ::testing::Values(u"", u"2005-3-1", u"20050301", u"2005-02-29",
                                           u"1900-02-29", u"2005-13-01", u"2005-00-10",
                                           u"2005-04-31", u"2005-03-01 24:00:00",
                                           u"2005-03-01 12:60:00", u"2005-03-01 12:00",
                                           u"2005-03-01T12:00:00", u"2005-03-01 12:00:00Z",
                                           u"0099-12-31", u"２００５-03-01", u"2005/03/01",
                                           u"-005-03-01"));

}  // namespace
}  // namespace orvane::testing
