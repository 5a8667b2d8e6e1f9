#include "addressbook/property_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/tests/fake_call.h"
#include "platform/posix/posix_code_page.h"

namespace orvane::testing {
namespace {

using namespace tags;
constexpr int32_t kList = PR_CONTACT_EMAIL_ADDRESSES;
constexpr int32_t kTime = PR_BIRTHDAY;

TEST(PropertyText, IsTheValueAsText) {
  const struct {
    FakeEntry entry;
    int32_t tag;
    std::string expected;
  } rows[] = {
      {FakeEntry().Text(PR_TITLE, "René"), PR_TITLE, "René"},
      {FakeEntry().Text(PR_TITLE, std::string(128, 'n')), PR_TITLE, std::string(128, 'n')},
      {FakeEntry().Short(PR_GENDER, INT16_MIN), PR_GENDER, "-32768"},
      {FakeEntry().Time(kTime, FileTimeOf({1980, 5, 17, 0, 0, 0})), kTime, "1980-05-17"},
      {FakeEntry().Time(kTime, FileTimeOf({2005, 3, 1, 0, 0, 1}, 999)), kTime,
       "2005-03-01 00:00:01"},
      {FakeEntry().Time(kTime, FileTime::FromTicks(uint64_t{1} << 63)), kTime, ""},
      {FakeEntry().List(kList, {"", "b", "c"}), kList, "b;c"},
      {FakeEntry().List(kList, {"a", "", std::string(300, 'x')}), kList,
       "a;;" + std::string(300, 'x')},
      {FakeEntry().Text(0x3001001F, "Ann"), 0x3001001F, ""},  // wide text is not read
  };
  for (const auto& row : rows) {
    FakeCall call({row.entry});
    EXPECT_EQ(Narrow(GetWabPropText(call.context, row.tag, 1)), row.expected) << &row - rows;
  }
}

// The text ends at the library's NUL, wherever it stands among the bytes
// looked at together, and also when it fills the buffer to its last byte. In a
// code page that keeps ASCII, whose text passes without a conversion.
TEST(PropertyText, EndsAtTheNulAtEveryLength) {
  std::vector<size_t> lengths = {126, 127, 128, 129, 254, 255, 256};
  for (size_t length = 0; length <= 24; ++length) lengths.push_back(length);
  for (const size_t length : lengths) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    const std::u16string wide(text.begin(), text.end());  // compared whole, NULs and all
    FakeCall call({FakeEntry().Text(PR_TITLE, text).List(kList, {text, "z"})});
    call.platform.code_page = std::make_shared<posix::PosixCodePage>(1252);
    EXPECT_EQ(GetWabPropText(call.context, PR_TITLE, 1), wide) << length;
    EXPECT_EQ(GetWabPropText(call.context, kList, 1), wide.empty() ? u"z" : wide + u";z")
        << length;
  }
}

// Notes of many megabytes are not cut or left out.
TEST(PropertyText, ValuesOfAnyLengthComeOutWhole) {
  const std::string huge(17 * 1024 * 1024, 'n');
  FakeCall call({FakeEntry().Text(PR_COMMENT, huge).List(kList, {"a", huge})});
  EXPECT_EQ(GetWabPropText(call.context, PR_COMMENT, 1).size(), huge.size());
  EXPECT_EQ(GetWabPropText(call.context, kList, 1).size(), huge.size() + 2);
}

// The library gets 128 bytes for a text and 256 for each element of a list,
// and as many as it asks for when they do not suffice; each byte a NUL.
TEST(PropertyText, BuffersHandedToTheLibraryHoldOnlyNuls) {
  FakeCall call({FakeEntry()
                     .Text(PR_TITLE, std::string(200, 't'))
                     .List(kList, {"a", std::string(300, 'x')})});
  GetWabPropText(call.context, PR_TITLE, 1);
  GetWabPropText(call.context, kList, 1);
  EXPECT_EQ(call.book->buffer_sizes, (std::vector<int32_t>{128, 201, 256, 256, 301}));
  EXPECT_TRUE(call.book->buffers_all_nul);
}

// Elements are numbered from 0; nothing before the first or after the last is asked for.
TEST(PropertyText, ListReadsEachElementOnceInOrder) {
  FakeCall call({FakeEntry().List(kList, {"a", "b", "c"})});
  EXPECT_EQ(GetWabPropText(call.context, kList, 1), u"a;b;c");
  EXPECT_EQ(call.book->elements_read, (std::vector<int32_t>{0, 1, 2}));
}

TEST(PropertyText, ListElementThatFailsIsSkippedAndTheOthersKeepTheirOrder) {
  FakeCall call({FakeEntry().List(kList, {"a", "b", "c"})});
  call.book->failing_element = 1;
  EXPECT_EQ(GetWabPropText(call.context, kList, 1), u"a;c");
}

// A date text reads back only when it names a day that exists, in the years
// the text can name.
TEST(DateText, ReadsBackOnlyDaysThatExist) {
  const struct {
    std::u16string_view text;
    std::optional<DateTimeParts> date;
  } rows[] = {
      {u"2000-02-29", DateTimeParts{2000, 2, 29, 0, 0, 0}},
      {u"2004-02-29", DateTimeParts{2004, 2, 29, 0, 0, 0}},
      {u"1900-02-29", std::nullopt},
      {u"2100-02-29", std::nullopt},
      {u"1800-02-29", std::nullopt},
      {u"2001-02-29", std::nullopt},
      {u"2024-04-31", std::nullopt},
      {u"2024-12-31 23:59:59", DateTimeParts{2024, 12, 31, 23, 59, 59}},
      {u"2024-12-31 24:00:00", std::nullopt},
      {u"0100-01-01", DateTimeParts{100, 1, 1, 0, 0, 0}},
      {u"0099-12-31", std::nullopt},
      {u"2024-1-1", std::nullopt},
  };
  for (const auto& row : rows) {
    const std::optional<AutomationDate> read = ReadWabDateText(row.text);
    ASSERT_EQ(read.has_value(), row.date.has_value()) << Narrow(std::u16string(row.text));
    if (row.date) {
      EXPECT_EQ(*read, AutomationDateFromParts(*row.date));
    }
  }
}

}  // namespace
}  // namespace orvane::testing
