#include "platform/posix/address_book/json_address_book.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <thread>

#include "platform/posix/address_book/default_location.h"
#include "platform/posix/address_book/iso_time.h"
#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/posix/address_book/property_reading.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kGender = 0x3A4D0002;
constexpr int32_t kModified = 0x30080040;
constexpr int32_t kEmails = 0x3A56101E;

std::string OneEntryDocument(const std::string& properties) {
  return "{\"entries\": [{\"properties\": [" + properties + "]}]}";
}

// An environment that holds `variables` only.
EnvironmentReader EnvironmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) {
    const auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional(found->second);
  };
}

// Code page 1252 as far as the library needs it: characters up to U+00FF are their own byte.
class Latin1CodePage : public CodePage {
 public:
  uint32_t Number() override { return 1252; }
  std::string FromUtf16(const std::u16string& text) override {
    std::string bytes;
    for (const char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return bytes;
  }
  std::u16string ToUtf16(const std::string&) override { throw std::logic_error("not used"); }
};

class FakeTimeZone : public TimeZone {
 public:
  TimeZoneInformation GetTimeZoneInformation() override { return information; }
  TimeZoneInformation information;
};

const char* const kThreeEntries = R"({"entries": [
  {"properties": [["PR_DISPLAY_NAME", "Ann"], ["PR_GENDER", 1], ["PR_DISPLAY_NAME", "B"],
                  ["0x12340003", 5]]},
  {"properties": []},
  {"properties": [["PR_DISPLAY_NAME", "Cy"]]}]})";

const std::string kDataBook = "/d/orvane/address-book.json";
const std::string kHomeBook = "/h/.local/share/orvane/address-book.json";

const std::pair<std::map<std::string, std::string>, std::string> kLocations[] = {
    {{{"ORVANE_ADDRESS_BOOK", "/b.json"}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}, "/b.json"},
    {{{"ORVANE_ADDRESS_BOOK", "relative.json"}, {"HOME", "/h"}}, "relative.json"},
    {{{"ORVANE_ADDRESS_BOOK", ""}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}, kDataBook},
    {{{"XDG_DATA_HOME", "/d/"}}, kDataBook},
    {{{"XDG_DATA_HOME", "/"}}, "/orvane/address-book.json"},
    {{{"XDG_DATA_HOME", "d"}, {"HOME", "/h"}}, kHomeBook},  // a relative one is ignored
    {{{"XDG_DATA_HOME", ""}, {"HOME", "/h/"}}, kHomeBook},
    {{{"HOME", "/"}}, "/.local/share/orvane/address-book.json"},
    {{{"HOME", ""}}, ""},
    {{}, ""},
};

TEST(DefaultLocationTest, FollowsTheEnvironment) {
  for (const auto& [environment, expected] : kLocations) {
    EXPECT_EQ(DefaultAddressBookFile(EnvironmentOf(environment)), expected)
        << ::testing::PrintToString(environment);
  }
}

// A library on a file of the test's own, with a cache, code page and time zone
// that belong to the test alone.
class LibraryTest : public ::testing::Test {
 protected:
  std::shared_ptr<AddressBookLibrary> MakeLibrary(const std::string& file,
                                                  EnvironmentReader environment = {}) {
    if (!environment) environment = EnvironmentOf({});
    return MakeJsonAddressBookLibrary({code_page_, time_zone_, file, cache_, environment});
  }

  // Writes `json` as the address book, opens it and fetches every entry.
  void OpenBook(const std::string& json) {
    library_ = MakeLibrary(path_ = folder_.WriteFile("book.json", json));
    ASSERT_NE(library_->kWabOpen(context_), 0);
    entries_.assign(static_cast<size_t>(library_->kWabGetNumEntries(context_)), WabEntry{});
    const auto count = static_cast<int32_t>(entries_.size());
    ASSERT_EQ(library_->kWabGetEntries(context_, entries_.data(), count), count);
  }
  void OpenOneEntry(const std::string& properties) { OpenBook(OneEntryDocument(properties)); }

  // The display name of an entry of the context's session.
  std::string NameOf(WabContext context, WabEntry entry) {
    char buffer[16] = {};
    const int16_t found =
        library_->kWabGetProp_String(context, entry, kDisplayName, buffer, sizeof buffer, nullptr);
    return found == 0 ? "<none>" : buffer;
  }

  // A letter for each call that answers for `context` and `tag` in entry 1: Number of
  // entries, Entries, Property count, property taG, String, short (I), Time, list Count,
  // list Data, Free. Getters that do not answer must leave their out values alone.
  std::string Answers(AddressBookLibrary& library, WabContext context, int32_t tag) {
    WabEntry entry{1};
    char text[8] = "#######";
    int32_t required = -7;
    int16_t number = 77;
    FileTime time{5, 6};
    int32_t count = 88;
    const int32_t results[] = {
        library.kWabGetNumEntries(context), library.kWabGetEntries(context, &entry, 1),
        library.kWabGetNumProps(context, entry), library.kWabGetPropTag(context, entry, 0, 0),
        library.kWabGetProp_String(context, entry, tag, text, 8, &required),
        library.kWabGetProp_Short(context, entry, tag, number),
        library.kWabGetProp_SysTime(context, entry, tag, time),
        library.kWabGetProp_MV_String_Count(context, entry, tag, count),
        library.kWabGetProp_MV_String_Data(context, entry, tag, text, 8, &required, 0),
        library.kWabFreeEntries(context, &entry, 1)};
    std::string answers;
    for (size_t i = 0; i < std::size(results); ++i) {
      if (results[i] != 0) answers += "NEPGSITCDF"[i];
    }
    if (answers.find_first_of("SITCD") == std::string::npos) {
      EXPECT_EQ(std::tuple(std::string(text), required, number, time.ticks(), count),
                std::tuple("#######", -7, 77, FileTime{5, 6}.ticks(), 88));
    }
    return answers;
  }

  std::string ElementOf(int32_t tag, int32_t index) {
    char buffer[16] = {};
    const int16_t found = library_->kWabGetProp_MV_String_Data(context_, entries_[0], tag, buffer,
                                                               sizeof buffer, nullptr, index);
    return found == 0 ? "<none>" : buffer;
  }

  orvane::testing::TemporaryFolder folder_;
  std::string path_;
  std::shared_ptr<Latin1CodePage> code_page_ = std::make_shared<Latin1CodePage>();
  std::shared_ptr<FakeTimeZone> time_zone_ = std::make_shared<FakeTimeZone>();
  std::shared_ptr<DocumentCache> cache_ = std::make_shared<DocumentCache>(MakePosixFileReader());
  std::shared_ptr<AddressBookLibrary> library_;
  WabContext context_;
  std::vector<WabEntry> entries_;
};

TEST_F(LibraryTest, OpensTheFileTheEnvironmentNamesUnlessItIsGivenOne) {
  const std::string chosen = folder_.WriteFile("chosen.json", kThreeEntries);
  folder_.WriteFile(".local/share/orvane/address-book.json", OneEntryDocument(""));
  const std::string named = folder_.WriteFile("named.json", R"({"entries": []})");
  const std::tuple<std::string, std::map<std::string, std::string>, int32_t> cases[] = {
      {"", {{"ORVANE_ADDRESS_BOOK", chosen}, {"HOME", folder_.path()}}, 3},
      {"", {{"HOME", folder_.path()}}, 1},
      {named, {{"ORVANE_ADDRESS_BOOK", chosen}}, 0},
  };
  for (const auto& [file, environment, entries] : cases) {
    library_ = MakeLibrary(file, EnvironmentOf(environment));
    ASSERT_NE(library_->kWabOpen(context_), 0);
    EXPECT_EQ(library_->kWabGetNumEntries(context_), entries);
  }
}

TEST_F(LibraryTest, ASessionKeepsItsVersionUntilClosedOrOpenedAgain) {
  OpenBook(kThreeEntries);
  EXPECT_EQ(library_->OpenFailureReason(), u"");
  const std::string next = folder_.WriteFile("next.json", OneEntryDocument(""));
  ASSERT_EQ(std::rename(next.c_str(), path_.c_str()), 0);
  WabContext old = context_;
  EXPECT_EQ(NameOf(context_, entries_[2]), "Cy");
  ASSERT_NE(library_->kWabOpen(context_), 0);  // gives up the session the context held
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 1);
  EXPECT_EQ(library_->kWabGetNumEntries(old), 0);
  WabContext copy = context_;
  EXPECT_EQ(library_->kWabClose(context_), 1);
  EXPECT_EQ(context_.handle, 0u);
  EXPECT_EQ(library_->kWabClose(copy), 0);
  EXPECT_EQ(library_->kWabGetNumEntries(copy), 0);
}

TEST_F(LibraryTest, EveryCallGivesZeroWithoutASessionOfThisLibrary) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Ann"])");
  EXPECT_EQ(Answers(*library_, context_, kDisplayName), "NEPGSF");
  for (const uint64_t handle : {uint64_t{0}, context_.handle + 1000, ~uint64_t{0}}) {
    EXPECT_EQ(Answers(*library_, WabContext{handle}, kDisplayName), "") << handle;
    WabContext stranger{handle};
    EXPECT_EQ(library_->kWabClose(stranger), 0);
  }
  const auto other_library = MakeLibrary(path_);
  EXPECT_EQ(Answers(*other_library, context_, kDisplayName), "");
  EXPECT_EQ(other_library->kWabClose(context_), 0);
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 1);
}

TEST_F(LibraryTest, GetEntriesFillsAtMostTheEntriesThereAreAndFreeEntriesClearsThem) {
  OpenBook(kThreeEntries);
  WabEntry many[5] = {{99}, {99}, {99}, {99}, {99}};
  EXPECT_EQ(library_->kWabGetEntries(context_, many, 5), 3);
  EXPECT_EQ(library_->kWabGetEntries(context_, many + 3, 1), 1);
  const std::vector<uint64_t> ids = {many[0].id, many[1].id, many[2].id, many[3].id, many[4].id};
  EXPECT_EQ(ids, (std::vector<uint64_t>{1, 2, 3, 1, 99}));
  for (const int32_t count : {0, -1}) EXPECT_EQ(library_->kWabGetEntries(context_, many, count), 0);
  EXPECT_EQ(library_->kWabGetEntries(context_, nullptr, 3), 0);
  EXPECT_EQ(library_->kWabFreeEntries(context_, many, 5), 5);
  for (const WabEntry& entry : many) EXPECT_EQ(entry.id, 0u);
  EXPECT_EQ(library_->kWabFreeEntries(context_, nullptr, 3), 0);
}

TEST_F(LibraryTest, PropertiesKeepTheirOrderAndRepetitionsAndUnknownOnesGiveZero) {
  OpenBook(kThreeEntries);
  ASSERT_EQ(library_->kWabGetNumProps(context_, entries_[0]), 4);
  const int32_t expected[] = {0, kDisplayName, kGender, kDisplayName, 0x12340003, 0};
  for (int32_t i = -1; i <= 4; ++i) {
    EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[0], i, 0), expected[i + 1]) << i;
  }
  EXPECT_EQ(library_->kWabGetNumProps(context_, entries_[1]), 0);
  EXPECT_EQ(library_->kWabGetNumProps(context_, entries_[2]), 1);
  for (WabEntry unknown : {WabEntry{0}, WabEntry{4}, WabEntry{~uint64_t{0}}}) {
    EXPECT_EQ(library_->kWabGetNumProps(context_, unknown), 0) << unknown.id;
    EXPECT_EQ(library_->kWabGetPropTag(context_, unknown, 0, 0), 0) << unknown.id;
    EXPECT_EQ(NameOf(context_, unknown), "<none>") << unknown.id;
  }
  EXPECT_EQ(library_->kWabGetPropType(static_cast<int32_t>(0xFFFF0040)), 0x0040);
  EXPECT_EQ(library_->kWabGetPropType(kEmails), 0x101E);
}

// Two readers open, read and close while a writer swaps the file between two
// versions: each session must see one whole version.
TEST_F(LibraryTest, ThreadsReadWholeVersionsWhileTheFileChanges) {
  const std::string versions[] = {
      R"({"entries": [{"properties": [["PR_DISPLAY_NAME", "A1"]]},
                      {"properties": [["PR_DISPLAY_NAME", "A2"]]}]})",
      R"({"entries": [{"properties": [["PR_DISPLAY_NAME", "B1"]]},
                      {"properties": [["PR_DISPLAY_NAME", "B2"]]},
                      {"properties": [["PR_DISPLAY_NAME", "B3"]]}]})"};
  OpenBook(versions[0]);
  std::atomic<int> readers_done{0}, wrong{0};
  const auto read = [&] {
    for (int round = 0; round < 200; ++round) {
      WabContext context;
      if (library_->kWabOpen(context) == 0) ++wrong;
      WabEntry entries[3];
      const int32_t count = library_->kWabGetEntries(context, entries, 3);
      for (int32_t i = 0; i < count; ++i) {
        const std::string expected{count == 2 ? 'A' : 'B', static_cast<char>('1' + i)};
        if (NameOf(context, entries[i]) != expected) ++wrong;
      }
      library_->kWabClose(context);
    }
    ++readers_done;
  };
  std::thread first(read), second(read);
  for (int round = 0; readers_done < 2; ++round) {
    std::rename(folder_.WriteFile("next.json", versions[round % 2]).c_str(), path_.c_str());
  }
  first.join();
  second.join();
  EXPECT_EQ(wrong, 0);
}

TEST_F(LibraryTest, AFailedOpenGivesZeroAndTheReason) {
  const std::string bad = "{\"entries\": [\n{\"properties\": [\n[\"PR_GENDER\", \"f\"]]}]}";
  const std::u16string folder = folder_.Path16();
  const std::pair<std::string, std::u16string> cases[] = {
      {folder_.WriteFile("bad.json", bad),
       folder + u"/bad.json: line 3: entry 1, property 1: PR_GENDER wants an integer from "
                u"-32768 to 32767"},
      {folder_.path() + "/b\xFF.json",
       folder + u"/b\uFFFD.json: cannot read the file: No such file or directory"},
      {"", u"no address book file: neither ORVANE_ADDRESS_BOOK nor HOME is set"},
  };
  for (const auto& [file, reason] : cases) {
    library_ = MakeLibrary(file);
    EXPECT_EQ(library_->kWabOpen(context_), 0);
    EXPECT_EQ(library_->OpenFailureReason(), reason);
  }
  // Success clears the reason; a failure ends the session the context held.
  library_ = MakeLibrary(path_ = folder_.path() + "/book.json");
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  folder_.WriteFile("book.json", kThreeEntries);
  ASSERT_NE(library_->kWabOpen(context_), 0);
  EXPECT_EQ(library_->OpenFailureReason(), u"");
  WabContext old = context_;
  ASSERT_EQ(std::remove(path_.c_str()), 0);
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  EXPECT_EQ(context_.handle, 0u);
  EXPECT_EQ(library_->kWabGetNumEntries(old), 0);
  EXPECT_THROW(MakeJsonAddressBookLibrary({nullptr, time_zone_, "", cache_, EnvironmentOf({})}),
               std::invalid_argument);
  EXPECT_THROW(MakeJsonAddressBookLibrary({code_page_, time_zone_, "", cache_, nullptr}),
               std::invalid_argument);
}

TEST_F(LibraryTest, OnlyTheGetterOfTheTagsTypeAnswers) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Ann"], ["PR_GENDER", 2], ["PR_BIRTHDAY", "1980-05-17"],
    ["PR_CONTACT_EMAIL_ADDRESSES", ["a"]], ["PR_DISPLAY_NAME_W", "wide"],
    ["PR_CONTACT_DEFAULT_ADDRESS_INDEX", 0], ["PR_ENTRYID", "00ff"])");
  const std::pair<uint32_t, std::string> cases[] = {
      {0x3001001E, "S"}, {0x3A4D0002, "I"}, {0x3A420040, "T"}, {0x3A56101E, "CD"},
      {0x3001001F, ""}, {0x3A550003, ""}, {0x0FFF0102, ""},
      {0x3A11001E, ""},  // not in the entry
      {0x3A4D001E, ""},  // the gender's id under the text type: another tag
  };
  for (const auto& [tag, getters] : cases) {
    EXPECT_EQ(Answers(*library_, context_, static_cast<int32_t>(tag)), "NEPG" + getters + "F")
        << std::hex << tag;
  }
}

TEST_F(LibraryTest, TheLastOccurrenceOfATagGivesItsValue) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "First"], ["PR_GENDER", 1], ["PR_DISPLAY_NAME", "Zoë 陳"],
    ["PR_GENDER", -32768], ["PR_CONTACT_EMAIL_ADDRESSES", ["a", "b"]],
    ["PR_CONTACT_EMAIL_ADDRESSES", ["c"]], ["PR_BIRTHDAY", "1980-05-17"],
    ["PR_BIRTHDAY", "1601-01-01"])");
  EXPECT_EQ(NameOf(context_, entries_[0]), "Zo\xEB ?");  // in the code page
  int16_t gender = 0;
  int32_t count = 0;
  FileTime birthday{1, 1};
  EXPECT_NE(library_->kWabGetProp_Short(context_, entries_[0], kGender, gender), 0);
  EXPECT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], kEmails, count), 0);
  EXPECT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], 0x3A420040, birthday), 0);
  EXPECT_EQ(std::tuple(gender, count, birthday.ticks()), std::tuple(-32768, 1, 0u));
}

TEST_F(LibraryTest, ListsGiveTheirCountAndEachElement) {
  OpenOneEntry(R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a@x", "", "Zoë\r\n"]], ["0x3A54101E", []])");
  int32_t count = 0;
  ASSERT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], kEmails, count), 0);
  EXPECT_EQ(count, 3);
  const char* const expected[] = {"<none>", "a@x", "", "Zo\xEB\r\n", "<none>"};
  for (int32_t i = -1; i <= 3; ++i) EXPECT_EQ(ElementOf(kEmails, i), expected[i + 1]) << i;
  ASSERT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], 0x3A54101E, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ElementOf(0x3A54101E, 0), "<none>");
}

// Buffer size, whether there is a buffer and a place for the size needed, whether "Zoë!"
// fits. It needs 5 bytes, the size reported, so a caller that asks again with it succeeds.
const std::tuple<int32_t, bool, bool, bool> kSizeCases[] = {
    {128, true, true, true},  {5, true, true, true},     {4, true, true, false},
    {1, true, true, false},   {0, true, true, false},    {-1, true, true, false},
    {128, false, true, false}, {4, true, false, false},  {5, true, false, true},
};

TEST_F(LibraryTest, TextGettersWriteOnlyWhatFitsAndTellTheSizeNeeded) {
  // "Zoë!" takes five bytes with its NUL in the code page, six in UTF-8.
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Zoë!"], ["PR_CONTACT_EMAIL_ADDRESSES", ["x", "Zoë!"]],
    ["PR_SURNAME", ""])");
  for (const bool element : {false, true}) {
    for (const auto& [size, with_buffer, with_required, fits] : kSizeCases) {
      SCOPED_TRACE(::testing::PrintToString(std::tuple(element, size, with_buffer, with_required)));
      char buffer[128];
      std::memset(buffer, '#', sizeof buffer);
      int32_t required = -7;
      char* const out = with_buffer ? buffer : nullptr;
      int32_t* const needed = with_required ? &required : nullptr;
      const int16_t result =
          element ? library_->kWabGetProp_MV_String_Data(context_, entries_[0], kEmails, out,
                                                         size, needed, 1)
                  : library_->kWabGetProp_String(context_, entries_[0], kDisplayName, out, size,
                                                 needed);
      EXPECT_EQ(result != 0, fits);
      EXPECT_EQ(std::string(buffer, 6), fits ? std::string("Zo\xEB!\0#", 6) : "######");
      EXPECT_EQ(required, with_required ? 5 : -7);
    }
  }
  char one[1] = {'#'};
  int32_t required = 0;
  EXPECT_NE(library_->kWabGetProp_String(context_, entries_[0], 0x3A11001E, one, 1, &required), 0);
  EXPECT_EQ(std::tuple(one[0], required), std::tuple('\0', 1));
}

class FailingCodePage : public Latin1CodePage {
 public:
  std::string FromUtf16(const std::u16string&) override { throw std::runtime_error("broken"); }
};

TEST_F(LibraryTest, AFailingCodePageGivesZeroAndNothingEscapes) {
  code_page_ = std::make_shared<FailingCodePage>();
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Ann"], ["PR_CONTACT_EMAIL_ADDRESSES", ["a"]])");
  EXPECT_EQ(NameOf(context_, entries_[0]), "<none>");
  EXPECT_EQ(ElementOf(kEmails, 0), "<none>");
}

// --- Times, as the reader's local time ------------------------------------------

// 100-ns ticks since 1601 of `unix_seconds` since 1970, plus `extra` ticks.
constexpr uint64_t Ticks(int64_t unix_seconds, uint64_t extra = 0) {
  return (11'644'473'600 + static_cast<uint64_t>(unix_seconds)) * 10'000'000 + extra;
}
constexpr int64_t kNoon = 1'109'678'400;  // 2005-03-01T12:00:00Z
constexpr int64_t kHour = 3600;

const TimeZoneInformation kEastEight{TimeZoneInformation::kUnknown, -480, 0, 0};
const TimeZoneInformation kWestFiveThirty{TimeZoneInformation::kStandard, 330, 0, 0};
const TimeZoneInformation kUtc{TimeZoneInformation::kUnknown, 0, 0, 0};
const TimeZoneInformation kEasternStandard{TimeZoneInformation::kStandard, 300, 0, -60};
const TimeZoneInformation kEasternDaylight{TimeZoneInformation::kDaylight, 300, 0, -60};
const TimeZoneInformation kOddStandardBias{TimeZoneInformation::kStandard, 60, 30, -60};
const TimeZoneInformation kBrokenZone{TimeZoneInformation::kInvalid, -480, 0, -60};

struct TimeCase {
  const char* stored;
  TimeZoneInformation zone;
  std::optional<uint64_t> local;
};

const TimeCase kTimeCases[] = {
    {"2005-03-01T12:00:00Z", kEastEight, Ticks(kNoon + 8 * kHour)},
    {"2005-03-01T12:00:00Z", kWestFiveThirty, Ticks(kNoon - 11 * kHour / 2)},
    {"2005-03-01T12:00:00Z", kEasternStandard, Ticks(kNoon - 5 * kHour)},
    {"2005-03-01T12:00:00Z", kEasternDaylight, Ticks(kNoon - 4 * kHour)},
    {"2005-03-01T12:00:00Z", kOddStandardBias, Ticks(kNoon - 3 * kHour / 2)},
    {"2005-03-01T12:00:00Z", kBrokenZone, Ticks(kNoon)},  // UTC when the zone is unknown
    {"2005-03-01T12:00Z", kUtc, Ticks(kNoon)},
    {"2005-03-01T12:00:00.123Z", kEastEight, Ticks(kNoon + 8 * kHour, 1'230'000)},
    {"2005-03-01T12:00:00.123456789Z", kEasternDaylight, Ticks(kNoon - 4 * kHour, 1'234'567)},
    {"2005-03-01T17:30:00+05:30", kUtc, Ticks(kNoon)},
    {"2005-03-01T17:30:00+0530", kEastEight, Ticks(kNoon + 8 * kHour)},
    {"2005-03-01T07:00:00-05", kUtc, Ticks(kNoon)},
    {"2005-03-01T06:30:00.25-05:30", kWestFiveThirty, Ticks(kNoon - 11 * kHour / 2, 2'500'000)},
    // Without a zone: local already, the same in every zone.
    {"2005-03-01T12:00:00", kEastEight, Ticks(kNoon)},
    {"2005-03-01T12:00", kWestFiveThirty, Ticks(kNoon)},
    {"2005-03-01T12:00:00.75", kEasternDaylight, Ticks(kNoon, 7'500'000)},
    {"1980-05-17", kEastEight, Ticks(327'369'600)},
    {"2000-02-29", kWestFiveThirty, Ticks(951'782'400)},
    {"9999-12-31T23:59:59Z", kUtc, Ticks(253'402'300'799)},
    {"1601-01-01T00:00:00Z", kEastEight, 8 * kHour * 10'000'000},
    {"1601-01-01T00:00:00Z", kEasternStandard, std::nullopt},  // before 1601
    {"1601-01-01", kEasternStandard, 0},
};

TEST(LocalTimeTest, ReadsTheStoredTimeAndShiftsItByTheBiasInForce) {
  for (const auto& [text, zone, expected] : kTimeCases) {
    const std::optional<StoredTime> stored = ParseIsoTime(text);
    ASSERT_TRUE(stored.has_value()) << text;
    const std::optional<FileTime> local = LocalFileTimeOf(*stored, zone);
    EXPECT_EQ(local ? std::optional(local->ticks()) : std::nullopt, expected) << text;
  }
}

const char* const kNotTimes[] = {
    "", "2005-03", "2005-3-01", "20050301", " 2005-03-01", "2005-03-01T", "2005-03-01T12",
    "2005-03-01 12:00:00", "2005-03-01Z", "2005-03-01T12:00:00.Z", "2005-03-01T12:00:00z",
    "2005-03-01T12:00:00Z ", "2005-03-01T12:00:00-", "2005-03-01T12:00:00+05:30x",
    "2005-03-01T12:00:00+5:30", "2005-03-01T12:00:00+24:00", "2005-03-01T12:00:00+05:60",
    "2005-03-01T24:00:00", "2005-03-01T12:60:00", "2005-03-01T12:00:60", "2005-00-10",
    "2005-13-01", "2005-03-00", "2005-04-31", "2005-02-29", "1900-02-29", "1600-12-31",
    "1601-01-01T00:00:00+01:00",
};

TEST(LocalTimeTest, RefusesEveryOtherText) {
  for (const char* text : kNotTimes) EXPECT_FALSE(ParseIsoTime(text).has_value()) << text;
}

TEST_F(LibraryTest, TheTimeGetterUsesTheBiasInForceAtEachCall) {
  OpenOneEntry(R"(["PR_LAST_MODIFICATION_TIME", "2005-03-01T12:00:00Z"],
    ["PR_CREATION_TIME", "1601-01-01T00:00:00Z"])");
  FileTime value{0xAAAA, 0xBBBB};
  for (const auto& [zone, hours] : {std::pair{kEasternStandard, 5}, {kEasternDaylight, 4}}) {
    time_zone_->information = zone;
    ASSERT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], kModified, value), 0);
    EXPECT_EQ(value.ticks(), Ticks(kNoon - hours * kHour));
  }
  // Before 1601 in local time: nothing to hand out, and the value is left alone.
  EXPECT_EQ(library_->kWabGetProp_SysTime(context_, entries_[0], 0x30070040, value), 0);
  EXPECT_EQ(value.ticks(), Ticks(kNoon - 4 * kHour));
}

}  // namespace
}  // namespace orvane::posix
