#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/posix/address_book/tests/library_fixture.h"

namespace orvane::posix {
namespace {

using testing::LibraryTest;

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kDisplayNameWide = 0x3001001F;
constexpr int32_t kSurname = 0x3A11001E;
constexpr int32_t kGender = 0x3A4D0002;
constexpr int32_t kBirthday = 0x3A420040;
constexpr int32_t kModified = 0x30080040;
constexpr int32_t kEmails = 0x3A56101E;
constexpr int32_t kDefaultAddressIndex = 0x3A550003;
constexpr int32_t kEntryId = 0x0FFF0102;

constexpr char kUntouched = '#';
constexpr int32_t kRequiredUntouched = -7;

// --- Which getter answers for which tag -----------------------------------

enum class Getter { kString, kShort, kSysTime, kMvCount, kMvData };

struct GetterCase {
  int32_t tag;
  std::optional<Getter> answering;  // the one getter that succeeds; none for the others
};

const GetterCase kGetterCases[] = {
    {kDisplayName, Getter::kString},     {kGender, Getter::kShort},
    {kBirthday, Getter::kSysTime},       {kEmails, Getter::kMvCount},
    {kDisplayNameWide, std::nullopt},    {kDefaultAddressIndex, std::nullopt},
    {kEntryId, std::nullopt},            {kSurname, std::nullopt},
    {0x3A4D001E, std::nullopt},  // the gender's id under the text type: another tag
};

class GetterTypeTest : public LibraryTest {
 protected:
  void SetUp() override {
    OpenOneEntry(R"(["PR_DISPLAY_NAME", "Ann"], ["PR_GENDER", 2],
      ["PR_BIRTHDAY", "1980-05-17"], ["PR_CONTACT_EMAIL_ADDRESSES", ["a@example.com"]],
      ["PR_DISPLAY_NAME_W", "wide"], ["PR_CONTACT_DEFAULT_ADDRESS_INDEX", 0],
      ["PR_ENTRYID", "00ff"])");
  }

  bool Answers(Getter getter, int32_t tag) {
    WabEntry& entry = entries_[0];
    char buffer[128];
    int16_t number = 0;
    FileTime time;
    int32_t count = 0;
    switch (getter) {
      case Getter::kString:
        return library_->kWabGetProp_String(context_, entry, tag, buffer, 128, nullptr) != 0;
      case Getter::kShort:
        return library_->kWabGetProp_Short(context_, entry, tag, number) != 0;
      case Getter::kSysTime:
        return library_->kWabGetProp_SysTime(context_, entry, tag, time) != 0;
      case Getter::kMvCount:
        return library_->kWabGetProp_MV_String_Count(context_, entry, tag, count) != 0;
      case Getter::kMvData:
        return library_->kWabGetProp_MV_String_Data(context_, entry, tag, buffer, 128, nullptr,
                                                    0) != 0;
    }
    return false;
  }
};

TEST_F(GetterTypeTest, OnlyTheGetterOfTheTagsTypeAnswers) {
  const Getter every[] = {Getter::kString, Getter::kShort, Getter::kSysTime, Getter::kMvCount,
                          Getter::kMvData};
  for (const GetterCase& row : kGetterCases) {
    for (const Getter getter : every) {
      const bool expected = row.answering == getter ||
                            (row.answering == Getter::kMvCount && getter == Getter::kMvData);
      EXPECT_EQ(Answers(getter, row.tag), expected)
          << std::hex << "tag 0x" << row.tag << ", getter " << static_cast<int>(getter);
    }
  }
}

// --- Values -------------------------------------------------------------------

class GetterValueTest : public LibraryTest {};

TEST_F(GetterValueTest, TextCrossesInTheCodePage) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Zoë 陳"], ["PR_COMMENT", "line 1\r\nline 2"])");
  EXPECT_EQ(StringOf(entries_[0], kDisplayName), "Zo\xEB ?");
  EXPECT_EQ(StringOf(entries_[0], 0x3004001E), "line 1\r\nline 2");
}

TEST_F(GetterValueTest, TheLastOccurrenceOfATagGivesItsValue) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "First"], ["PR_GENDER", 1], ["PR_DISPLAY_NAME", "Last"],
    ["PR_GENDER", 2], ["PR_CONTACT_EMAIL_ADDRESSES", ["a", "b"]],
    ["PR_CONTACT_EMAIL_ADDRESSES", ["c"]], ["PR_BIRTHDAY", "1980-05-17"],
    ["PR_BIRTHDAY", "1601-01-01"])");
  EXPECT_EQ(StringOf(entries_[0], kDisplayName), "Last");
  int16_t gender = 0;
  EXPECT_NE(library_->kWabGetProp_Short(context_, entries_[0], kGender, gender), 0);
  EXPECT_EQ(gender, 2);
  int32_t count = 0;
  EXPECT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], kEmails, count), 0);
  EXPECT_EQ(count, 1);
  FileTime birthday{1, 1};
  EXPECT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], kBirthday, birthday), 0);
  EXPECT_EQ(birthday.ticks(), 0u);
}

TEST_F(GetterValueTest, ShortValuesKeepTheirSign) {
  OpenOneEntry(R"(["0x3A4D0002", -32768], ["0x12340002", 32767])");
  int16_t value = 0;
  EXPECT_NE(library_->kWabGetProp_Short(context_, entries_[0], kGender, value), 0);
  EXPECT_EQ(value, -32768);
  EXPECT_NE(library_->kWabGetProp_Short(context_, entries_[0], 0x12340002, value), 0);
  EXPECT_EQ(value, 32767);
}

TEST_F(GetterValueTest, AMissingTagLeavesEveryOutValueAlone) {
  OpenOneEntry(R"(["PR_SURNAME", "Only"])");
  char buffer[8];
  std::memset(buffer, kUntouched, sizeof buffer);
  int32_t required = kRequiredUntouched;
  int16_t number = 77;
  FileTime time{5, 6};
  int32_t count = 88;
  WabEntry& entry = entries_[0];
  EXPECT_EQ(library_->kWabGetProp_String(context_, entry, kDisplayName, buffer, 8, &required), 0);
  EXPECT_EQ(library_->kWabGetProp_Short(context_, entry, kGender, number), 0);
  EXPECT_EQ(library_->kWabGetProp_SysTime(context_, entry, kModified, time), 0);
  EXPECT_EQ(library_->kWabGetProp_MV_String_Count(context_, entry, kEmails, count), 0);
  EXPECT_EQ(library_->kWabGetProp_MV_String_Data(context_, entry, kEmails, buffer, 8, &required, 0),
            0);
  EXPECT_EQ(std::string(buffer, 8), std::string(8, kUntouched));
  EXPECT_EQ(required, kRequiredUntouched);
  EXPECT_EQ(number, 77);
  EXPECT_EQ(time.ticks(), (uint64_t{6} << 32) | 5);
  EXPECT_EQ(count, 88);
}

TEST_F(GetterValueTest, ListsGiveTheirCountAndEachElement) {
  OpenOneEntry(R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a@example.com", "", "Zoë@example.org"]],
    ["0x3A54101E", []])");
  int32_t count = 0;
  ASSERT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], kEmails, count), 0);
  ASSERT_EQ(count, 3);
  const std::string expected[] = {"a@example.com", "", "Zo\xEB@example.org"};
  for (int32_t i = 0; i < count; ++i) {
    char buffer[256];
    std::memset(buffer, kUntouched, sizeof buffer);
    ASSERT_NE(library_->kWabGetProp_MV_String_Data(context_, entries_[0], kEmails, buffer, 256,
                                                   nullptr, i), 0) << i;
    EXPECT_EQ(std::string(buffer), expected[i]);
  }
  char buffer[256];
  EXPECT_EQ(library_->kWabGetProp_MV_String_Data(context_, entries_[0], kEmails, buffer, 256,
                                                 nullptr, -1), 0);
  EXPECT_EQ(library_->kWabGetProp_MV_String_Data(context_, entries_[0], kEmails, buffer, 256,
                                                 nullptr, 3), 0);
  ASSERT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], 0x3A54101E, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(library_->kWabGetProp_MV_String_Data(context_, entries_[0], 0x3A54101E, buffer, 256,
                                                 nullptr, 0), 0);
}

// --- The size contract of the text getters ---------------------------------

struct SizeCase {
  const char* name;
  int32_t buffer_size;
  bool with_buffer;
  bool with_required;
  int16_t result;
  std::string written;  // the buffer's first bytes afterwards
};

// The value is "abcd": five bytes with its NUL.
const SizeCase kSizeCases[] = {
    {"roomy", 128, true, true, 1, std::string("abcd\0#", 6)},
    {"exact", 5, true, true, 1, std::string("abcd\0#", 6)},
    {"one short", 4, true, true, 0, "######"},
    {"one byte", 1, true, true, 0, "######"},
    {"zero", 0, true, true, 0, "######"},
    {"negative", -1, true, true, 0, "######"},
    {"no buffer", 128, false, true, 0, "######"},
    {"no required", 4, true, false, 0, "######"},
    {"no required and room", 5, true, false, 1, std::string("abcd\0#", 6)},
};

enum class TextGetter { kString, kListElement };

std::string SizeCaseName(const ::testing::TestParamInfo<std::tuple<TextGetter, SizeCase>>& row) {
  const char* getter = std::get<0>(row.param) == TextGetter::kString ? "String_" : "Element_";
  return getter + testing::TestNameOf(std::get<1>(row.param).name);
}

class SizeContractTest
    : public LibraryTest,
      public ::testing::WithParamInterface<std::tuple<TextGetter, SizeCase>> {
 protected:
  void SetUp() override {
    OpenOneEntry(R"(["PR_DISPLAY_NAME", "abcd"], ["PR_CONTACT_EMAIL_ADDRESSES", ["x", "abcd"]])");
  }

  int16_t Read(TextGetter getter, char* buffer, int32_t size, int32_t* required) {
    if (getter == TextGetter::kString) {
      return library_->kWabGetProp_String(context_, entries_[0], kDisplayName, buffer, size,
                                          required);
    }
    return library_->kWabGetProp_MV_String_Data(context_, entries_[0], kEmails, buffer, size,
                                                required, 1);
  }
};

TEST_P(SizeContractTest, WritesOnlyWhatFitsAndTellsTheSizeNeeded) {
  const auto& [getter, row] = GetParam();
  char buffer[128];
  std::memset(buffer, kUntouched, sizeof buffer);
  int32_t required = kRequiredUntouched;
  const int16_t result = Read(getter, row.with_buffer ? buffer : nullptr, row.buffer_size,
                              row.with_required ? &required : nullptr);
  EXPECT_EQ(result != 0, row.result != 0);
  EXPECT_EQ(std::string(buffer, row.written.size()), row.written);
  EXPECT_EQ(required, row.with_required ? 5 : kRequiredUntouched);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeContractTest,
    ::testing::Combine(::testing::Values(TextGetter::kString, TextGetter::kListElement),
                       ::testing::ValuesIn(kSizeCases)),
    SizeCaseName);

TEST_F(GetterValueTest, ACallerCanAskAgainWithTheSizeItWasTold) {
  auto utf8 = std::make_shared<testing::Utf8CodePage>();
  library_ = MakeJsonAddressBookLibrary(JsonAddressBookSettings{
      utf8, time_zone_, folder_.Write("book.json", testing::OneEntryDocument(
                                                      R"(["PR_DISPLAY_NAME", "陳美玲"])")),
      cache_, testing::EmptyEnvironment()});
  ASSERT_NE(library_->kWabOpen(context_), 0);
  WabEntry entry{1};
  int32_t required = 0;
  char small[4];
  EXPECT_EQ(library_->kWabGetProp_String(context_, entry, kDisplayName, small, 4, &required), 0);
  ASSERT_EQ(required, 10);  // nine bytes in this code page, and the NUL
  std::string fitting(static_cast<size_t>(required), kUntouched);
  EXPECT_NE(library_->kWabGetProp_String(context_, entry, kDisplayName, fitting.data(), required,
                                         &required), 0);
  EXPECT_EQ(fitting, std::string("\xE9\x99\xB3\xE7\xBE\x8E\xE7\x8E\xB2", 9) + '\0');
}

TEST_F(GetterValueTest, AnEmptyTextNeedsOneByte) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", ""])");
  char buffer[1] = {kUntouched};
  int32_t required = 0;
  EXPECT_NE(library_->kWabGetProp_String(context_, entries_[0], kDisplayName, buffer, 1, &required),
            0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(required, 1);
}

// A code page that fails: the getters answer 0 and nothing escapes them.
class FailingCodePage : public CodePage {
 public:
  uint32_t Number() override { return 1252; }
  std::string FromUtf16(const std::u16string&) override { throw std::runtime_error("broken"); }
  std::u16string ToUtf16(const std::string&) override { throw std::runtime_error("broken"); }
};

TEST_F(GetterValueTest, AFailingCodePageGivesZero) {
  library_ = MakeJsonAddressBookLibrary(JsonAddressBookSettings{
      std::make_shared<FailingCodePage>(), time_zone_,
      folder_.Write("book.json", testing::OneEntryDocument(
                                     R"(["PR_DISPLAY_NAME", "Ann"], ["PR_CONTACT_EMAIL_ADDRESSES", ["a"]])")),
      cache_, testing::EmptyEnvironment()});
  ASSERT_NE(library_->kWabOpen(context_), 0);
  WabEntry entry{1};
  char buffer[128];
  EXPECT_EQ(library_->kWabGetProp_String(context_, entry, kDisplayName, buffer, 128, nullptr), 0);
  EXPECT_EQ(library_->kWabGetProp_MV_String_Data(context_, entry, kEmails, buffer, 128, nullptr, 0),
            0);
}

// --- Times as local time -----------------------------------------------------

constexpr uint64_t kUnixEpochSeconds = 11'644'473'600;
constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kHour = 3600;

constexpr uint64_t Ticks(int64_t unix_seconds, uint64_t extra = 0) {
  return (kUnixEpochSeconds + static_cast<uint64_t>(unix_seconds)) * kTicksPerSecond + extra;
}

// 2005-03-01T12:00:00 and 1980-05-17T00:00:00 as seconds since 1970.
constexpr int64_t kNoon = 1'109'678'400;
constexpr int64_t kMay17 = 327'369'600;

TimeZoneInformation Zone(int32_t result, int32_t bias, int32_t standard = 0, int32_t daylight = 0) {
  return TimeZoneInformation{result, bias, standard, daylight};
}

const TimeZoneInformation kEastEight = Zone(TimeZoneInformation::kUnknown, -480);
const TimeZoneInformation kWestFiveThirty = Zone(TimeZoneInformation::kStandard, 330);
const TimeZoneInformation kUtc = Zone(TimeZoneInformation::kUnknown, 0);
const TimeZoneInformation kEasternStandard = Zone(TimeZoneInformation::kStandard, 300, 0, -60);
const TimeZoneInformation kEasternDaylight = Zone(TimeZoneInformation::kDaylight, 300, 0, -60);
const TimeZoneInformation kOddStandardBias = Zone(TimeZoneInformation::kStandard, 60, 30, -60);
const TimeZoneInformation kBrokenZone = Zone(TimeZoneInformation::kInvalid, -480, 0, -60);

struct TimeCase {
  const char* stored;
  TimeZoneInformation zone;
  std::optional<uint64_t> local_ticks;
};

const TimeCase kTimeCases[] = {
    {"2005-03-01T12:00:00Z", kEastEight, Ticks(kNoon + 8 * kHour)},
    {"2005-03-01T12:00:00Z", kWestFiveThirty, Ticks(kNoon - 5 * kHour - 30 * 60)},
    {"2005-03-01T12:00:00Z", kUtc, Ticks(kNoon)},
    {"2005-03-01T12:00:00Z", kEasternStandard, Ticks(kNoon - 5 * kHour)},
    {"2005-03-01T12:00:00Z", kEasternDaylight, Ticks(kNoon - 4 * kHour)},
    {"2005-03-01T12:00:00Z", kOddStandardBias, Ticks(kNoon - 90 * 60)},
    {"2005-03-01T12:00:00Z", kBrokenZone, Ticks(kNoon)},
    {"2005-03-01T12:00:00.123Z", kEastEight, Ticks(kNoon + 8 * kHour, 1'230'000)},
    {"2005-03-01T12:00:00.1234567Z", kEasternDaylight, Ticks(kNoon - 4 * kHour, 1'234'567)},
    {"2005-03-01T17:30:00+05:30", kUtc, Ticks(kNoon)},
    {"2005-03-01T17:30:00+05:30", kEastEight, Ticks(kNoon + 8 * kHour)},
    {"2005-03-01T07:00:00-05:00", kWestFiveThirty, Ticks(kNoon - 5 * kHour - 30 * 60)},
    // Written without a zone: local already, the same in every zone.
    {"2005-03-01T12:00:00", kEastEight, Ticks(kNoon)},
    {"2005-03-01T12:00:00", kWestFiveThirty, Ticks(kNoon)},
    {"2005-03-01T12:00:00.5", kEasternDaylight, Ticks(kNoon, 5'000'000)},
    {"1980-05-17", kEastEight, Ticks(kMay17)},
    {"1980-05-17", kWestFiveThirty, Ticks(kMay17)},
    {"1980-05-17", kEasternDaylight, Ticks(kMay17)},
    // Shifted before 1601: nothing to hand out.
    {"1601-01-01T00:00:00Z", kEasternStandard, std::nullopt},
    {"1601-01-01T00:00:00Z", kEastEight, 8 * kHour * kTicksPerSecond},
    {"1601-01-01", kEasternStandard, 0},
};

class LocalTimeTest : public LibraryTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(LocalTimeTest, HandsOutLocalTimeByTheBiasInForce) {
  OpenOneEntry(std::string(R"(["PR_LAST_MODIFICATION_TIME", ")") + GetParam().stored + "\"]");
  time_zone_->information = GetParam().zone;
  FileTime value{0xAAAA, 0xBBBB};
  const int16_t result = library_->kWabGetProp_SysTime(context_, entries_[0], kModified, value);
  ASSERT_EQ(result != 0, GetParam().local_ticks.has_value());
  if (GetParam().local_ticks) {
    EXPECT_EQ(value.ticks(), *GetParam().local_ticks);
  } else {
    EXPECT_EQ(value.ticks(), (uint64_t{0xBBBB} << 32) | 0xAAAA);
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalTimeTest, ::testing::ValuesIn(kTimeCases));

TEST_F(GetterValueTest, TheBiasIsReadAtEachCall) {
  OpenOneEntry(R"(["PR_LAST_MODIFICATION_TIME", "2005-03-01T12:00:00Z"])");
  FileTime value;
  time_zone_->information = kEasternStandard;
  ASSERT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], kModified, value), 0);
  EXPECT_EQ(value.ticks(), Ticks(kNoon - 5 * kHour));
  time_zone_->information = kEasternDaylight;
  ASSERT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], kModified, value), 0);
  EXPECT_EQ(value.ticks(), Ticks(kNoon - 4 * kHour));
}

}  // namespace
}  // namespace orvane::posix
