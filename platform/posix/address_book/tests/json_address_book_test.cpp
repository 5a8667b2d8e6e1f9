#include "platform/posix/address_book/json_address_book.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

#include "platform/posix/address_book/default_location.h"
#include "platform/posix/address_book/document_cache.h"
#include "platform/posix/address_book/iso_time.h"
#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/posix/address_book/property_reading.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/tests/test_helpers.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

using testing::FakeEnvironment;

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kModified = 0x30080040;
constexpr int32_t kEmails = 0x3A56101E;

std::string OneEntryDocument(const std::string& properties) {
  return "{\"entries\": [{\"properties\": [" + properties + "]}]}";
}

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

TEST(DefaultLocationTest, FollowsTheEnvironment) {
  const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
      {{{"ORVANE_ADDRESS_BOOK", "/b.json"}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}, "/b.json"},
      {{{"ORVANE_ADDRESS_BOOK", ""}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}, kDataBook},
      {{{"XDG_DATA_HOME", "/d//"}}, kDataBook},
      {{{"XDG_DATA_HOME", "/"}}, "/orvane/address-book.json"},
      {{{"XDG_DATA_HOME", "d"}, {"HOME", "/h/"}},  // a relative one is ignored
       "/h/.local/share/orvane/address-book.json"},
      {{}, ""},
  };
  for (const auto& [environment, expected] : cases) {
    EXPECT_EQ(DefaultAddressBookFile(FakeEnvironment(environment)), expected)
        << ::testing::PrintToString(environment);
  }
}

// A library on a file of the test's own, with a cache, code page and time zone
// that belong to the test alone.
class LibraryTest : public ::testing::Test {
 protected:
  std::shared_ptr<AddressBookLibrary> MakeLibrary(
      const std::string& file, EnvironmentReader environment = FakeEnvironment({})) {
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

  std::string ElementOf(int32_t tag, int32_t index) {
    char buffer[16] = {};
    const int16_t found = library_->kWabGetProp_MV_String_Data(context_, entries_[0], tag, buffer,
                                                               sizeof buffer, nullptr, index);
    return found == 0 ? "<none>" : buffer;
  }

  // A letter for each call that answers for `context` and `tag` in entry 1: Number of
  // entries, Entries, Property count, property taG, String, short (I), Time, list Count,
  // list Data, Free. Getters that do not answer must leave their out values alone.
  std::string Answers(AddressBookLibrary& library, WabContext context, int32_t tag) {
    WabEntry entry{1};
    char text[8] = "#######";
    int32_t required = -7, count = 88;
    int16_t number = 77;
    FileTime time{5, 6};
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

  orvane::testing::TemporaryFolder folder_;
  std::string path_;
  std::shared_ptr<CodePage> code_page_ = std::make_shared<PosixCodePage>(1252);
  std::shared_ptr<FakeTimeZone> time_zone_ = std::make_shared<FakeTimeZone>();
  std::shared_ptr<DocumentCache> cache_ = std::make_shared<DocumentCache>(MakePosixFileReader());
  std::shared_ptr<AddressBookLibrary> library_;
  WabContext context_;
  std::vector<WabEntry> entries_;
};

TEST_F(LibraryTest, TheCacheReusesTheDocumentUntilTheFileChangesInAnyWay) {
  // A book of one entry named `name`, its time set to the same second each time.
  const auto write_book = [&](const std::string& name, const std::string& file, long nanoseconds) {
    const std::string path = folder_.WriteFile(
        file, R"({"entries": [{"properties": [["PR_SURNAME", ")" + name + "\"]]}]}");
    const timespec times[2] = {{1'700'000'000, nanoseconds}, {1'700'000'000, nanoseconds}};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return path;
  };
  const auto name_in = [&](const std::string& path) {
    const SharedDocument document = cache_->Load(path).document;
    return document ? std::string(document->TextOf(*document->entries[0].properties[0].Text()))
                    : "";
  };
  const std::string path = write_book("Ann", "book.json", 0);
  const SharedDocument first = cache_->Load(path).document;
  EXPECT_EQ(cache_->Load(path).document, first);
  // Each change leaves a book named "Bob" where the next load looks.
  const std::pair<const char*, std::function<std::string()>> changes[] = {
      {"only the nanoseconds", [&] { return write_book("Bob", "book.json", 1); }},
      {"another file", [&] { return write_book("Bob", "other.json", 0); }},
      {"replaced, same size and time", [&] {
         EXPECT_EQ(std::rename(write_book("Bob", "new.json", 0).c_str(), path.c_str()), 0);
         return path;
       }},
  };
  for (const auto& [change, next] : changes) {
    ASSERT_EQ(name_in(write_book("Ann", "book.json", 0)), "Ann");
    EXPECT_EQ(name_in(next()), "Bob") << change;
  }
}

TEST_F(LibraryTest, OpensTheFileTheEnvironmentNamesUnlessItIsGivenOne) {
  const std::string chosen = folder_.WriteFile("chosen.json", kThreeEntries);
  const std::string named = folder_.WriteFile("named.json", R"({"entries": []})");
  for (const auto& [file, entries] : {std::pair{std::string(), 3}, {named, 0}}) {
    library_ = MakeLibrary(file, FakeEnvironment({{"ORVANE_ADDRESS_BOOK", chosen}}));
    ASSERT_NE(library_->kWabOpen(context_), 0);
    EXPECT_EQ(library_->kWabGetNumEntries(context_), entries);
  }
}

// Without a session of this library every call gives 0.
TEST_F(LibraryTest, ASessionKeepsItsVersionUntilClosedOrOpenedAgain) {
  OpenBook(kThreeEntries);
  const std::string next = folder_.WriteFile("next.json", OneEntryDocument(""));
  ASSERT_EQ(std::rename(next.c_str(), path_.c_str()), 0);
  WabContext old = context_;
  EXPECT_EQ(NameOf(context_, entries_[2]), "Cy");
  ASSERT_NE(library_->kWabOpen(context_), 0);  // gives up the session the context held
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 1);
  EXPECT_EQ(Answers(*library_, old, kDisplayName), "");
  const auto other_library = MakeLibrary(path_);
  EXPECT_EQ(Answers(*other_library, context_, kDisplayName), "");
  EXPECT_EQ(other_library->kWabClose(context_), 0);
  WabContext copy = context_;
  EXPECT_EQ(library_->kWabClose(context_), 1);
  EXPECT_EQ(context_.handle, 0u);
  EXPECT_EQ(library_->kWabClose(copy), 0);
  EXPECT_EQ(Answers(*library_, copy, kDisplayName), "");  // the session last found is closed
}

TEST_F(LibraryTest, EntriesAndTheirPropertiesInFileOrderAndUnknownOnesGiveZero) {
  OpenBook(kThreeEntries);
  WabEntry many[5] = {{99}, {99}, {99}, {99}, {99}};
  EXPECT_EQ(library_->kWabGetEntries(context_, many, 5), 3);
  EXPECT_EQ(library_->kWabGetEntries(context_, many + 3, 1), 1);
  const std::vector<uint64_t> ids = {many[0].id, many[1].id, many[2].id, many[3].id, many[4].id};
  EXPECT_EQ(ids, (std::vector<uint64_t>{1, 2, 3, 1, 99}));
  EXPECT_EQ(library_->kWabGetEntries(context_, many, 0), 0);
  EXPECT_EQ(library_->kWabGetEntries(context_, nullptr, 3), 0);
  EXPECT_EQ(library_->kWabFreeEntries(context_, many, 5), 5);
  for (const WabEntry& entry : many) EXPECT_EQ(entry.id, 0u);

  ASSERT_EQ(library_->kWabGetNumProps(context_, entries_[0]), 4);
  const int32_t expected[] = {0, kDisplayName, 0x3A4D0002, kDisplayName, 0x12340003, 0};
  for (int32_t i = -1; i <= 4; ++i) {
    EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[0], i, 0), expected[i + 1]) << i;
  }
  for (WabEntry unknown : {WabEntry{0}, WabEntry{4}}) {
    EXPECT_EQ(library_->kWabGetNumProps(context_, unknown), 0) << unknown.id;
    EXPECT_EQ(library_->kWabGetPropTag(context_, unknown, 0, 0), 0) << unknown.id;
    EXPECT_EQ(NameOf(context_, unknown), "<none>") << unknown.id;
  }
  EXPECT_EQ(library_->kWabGetPropType(static_cast<int32_t>(0xFFFF0040)), 0x0040);
}

// The reason names the file as UTF-8 can show it, and the line; success clears it.
// A folder opens, so its reason comes from the read.
TEST_F(LibraryTest, AFailedOpenGivesZeroAndTheReason) {
  const std::u16string shown = folder_.Path16() + u"/b\uFFFD.json: ";
  const std::pair<std::string, std::u16string> steps[] = {
      {"", shown + u"cannot read the file: No such file or directory"},
      {"{\"entries\": [\n{\"properties\": [\n[\"PR_GENDER\", \"f\"]]}]}",
       shown + u"line 3: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767"},
      {kThreeEntries, u""},
  };
  library_ = MakeLibrary(folder_.path() + "/b\xFF.json");
  for (const auto& [content, reason] : steps) {
    if (!content.empty()) folder_.WriteFile("b\xFF.json", content);
    EXPECT_EQ(library_->kWabOpen(context_) != 0, reason.empty());
    EXPECT_EQ(library_->OpenFailureReason(), reason);
  }
  const std::pair<std::string, std::u16string> others[] = {
      {"", u"no address book file: neither ORVANE_ADDRESS_BOOK nor HOME is set"},
      {folder_.path(), folder_.Path16() + u": cannot read the file: Is a directory"},
      {folder_.path() + "/pipe", folder_.Path16() + u"/pipe: cannot read the file: not a regular file"},
      {"/dev/zero", u"/dev/zero: cannot read the file: not a regular file"},
  };
  ASSERT_EQ(::mkfifo((folder_.path() + "/pipe").c_str(), 0600), 0);
  for (const auto& [file, reason] : others) {
    library_ = MakeLibrary(file);
    EXPECT_EQ(library_->kWabOpen(context_), 0);
    EXPECT_EQ(library_->OpenFailureReason(), reason);
  }
}

TEST_F(LibraryTest, OnlyTheGetterOfTheTagsTypeAnswersWithItsLastValue) {
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "First"], ["PR_GENDER", 2], ["PR_BIRTHDAY", "1980-05-17"],
    ["PR_CONTACT_EMAIL_ADDRESSES", ["a"]], ["PR_DISPLAY_NAME_W", "wide"],
    ["PR_DISPLAY_NAME", "Zoë 陳"])");
  const std::pair<uint32_t, std::string> cases[] = {
      {0x3001001E, "S"}, {0x3A4D0002, "I"}, {0x3A420040, "T"}, {0x3A56101E, "CD"},
      {0x3001001F, ""},  // held, but of a type no getter hands out
      {0x3A11001E, ""},  // not in the entry
  };
  for (const auto& [tag, getters] : cases) {
    EXPECT_EQ(Answers(*library_, context_, static_cast<int32_t>(tag)), "NEPG" + getters + "F")
        << std::hex << tag;
  }
  EXPECT_EQ(NameOf(context_, entries_[0]), "Zo\xEB ?");  // in the code page
  // Also right after the tag of the first occurrence was read, as the component reads.
  ASSERT_EQ(library_->kWabGetPropTag(context_, entries_[0], 0, 0), kDisplayName);
  EXPECT_EQ(NameOf(context_, entries_[0]), "Zo\xEB ?");
}

TEST_F(LibraryTest, ListsGiveTheirCountAndEachElement) {
  OpenOneEntry(R"(["PR_CONTACT_EMAIL_ADDRESSES", ["a@x", "", "Zoë\r\n"]])");
  int32_t count = 0;
  ASSERT_NE(library_->kWabGetProp_MV_String_Count(context_, entries_[0], kEmails, count), 0);
  EXPECT_EQ(count, 3);
  const char* const expected[] = {"<none>", "a@x", "", "Zo\xEB\r\n", "<none>"};
  for (int32_t i = -1; i <= 3; ++i) EXPECT_EQ(ElementOf(kEmails, i), expected[i + 1]) << i;
}

// Buffer size, whether there is a buffer and a place for the size needed, whether "Zoë!"
// fits. It needs 5 bytes, the size reported, so a caller that asks again with it succeeds.
const std::tuple<int32_t, bool, bool, bool> kSizeCases[] = {
    {128, true, true, true},  {5, true, true, true},     {4, true, true, false},
    {-1, true, true, false},  {128, false, true, false}, {5, true, false, true},
};

TEST_F(LibraryTest, TextGettersWriteOnlyWhatFitsAndTellTheSizeNeeded) {
  // "Zoë!" takes five bytes with its NUL in the code page, six in UTF-8.
  OpenOneEntry(R"(["PR_DISPLAY_NAME", "Zoë!"], ["PR_CONTACT_EMAIL_ADDRESSES", ["x", "Zoë!"]])");
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
}

class FailingCodePage : public CodePage {
 public:
  uint32_t Number() override { return 1252; }
  std::string FromUtf16(const std::u16string&) override { throw std::runtime_error("broken"); }
  std::u16string ToUtf16(const std::string&) override { throw std::runtime_error("broken"); }
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
const TimeZoneInformation kWestFiveThirty{TimeZoneInformation::kStandard, 330, 0, -60};
const TimeZoneInformation kEasternDaylight{TimeZoneInformation::kDaylight, 300, 0, -60};
const TimeZoneInformation kOddStandardBias{TimeZoneInformation::kStandard, 60, 30, -60};
const TimeZoneInformation kBrokenZone{TimeZoneInformation::kInvalid, -480, 0, -60};

TEST(LocalTimeTest, ReadsTheStoredTimeAndShiftsItByTheBiasInForce) {
  const struct { const char* stored; TimeZoneInformation zone; std::optional<uint64_t> local; }
      cases[] = {
          {"2005-03-01T12:00:00Z", kEastEight, Ticks(kNoon + 8 * kHour)},
          {"2005-03-01T12:00:00Z", kWestFiveThirty, Ticks(kNoon - 11 * kHour / 2)},
          {"2005-03-01T12:00:00Z", kEasternDaylight, Ticks(kNoon - 4 * kHour)},
          {"2005-03-01T12:00:00Z", kOddStandardBias, Ticks(kNoon - 3 * kHour / 2)},
          {"2005-03-01T12:00:00Z", kBrokenZone, Ticks(kNoon)},  // UTC when the zone is unknown
          {"2005-03-01T12:00Z", kEastEight, Ticks(kNoon + 8 * kHour)},
          {"2005-03-01T12:00:00.123Z", kEastEight, Ticks(kNoon + 8 * kHour, 1'230'000)},
          {"2005-03-01T12:00:00.123456789Z", kEastEight, Ticks(kNoon + 8 * kHour, 1'234'567)},
          {"2005-03-01T17:30:00+05:30", kEastEight, Ticks(kNoon + 8 * kHour)},
          {"2005-03-01T17:30:00+0530", kEastEight, Ticks(kNoon + 8 * kHour)},
          {"2005-03-01T07:00:00-05", kEastEight, Ticks(kNoon + 8 * kHour)},
          // Without a zone: local already, the same in every zone.
          {"2005-03-01T12:00:00", kEastEight, Ticks(kNoon)},
          {"1980-05-17", kEastEight, Ticks(327'369'600)},
          {"1601-01-01T00:00:00Z", kWestFiveThirty, std::nullopt},  // before 1601
      };
  for (const auto& [text, zone, expected] : cases) {
    const std::optional<StoredTime> stored = ParseIsoTime(text);
    ASSERT_TRUE(stored.has_value()) << text;
    const std::optional<FileTime> local = LocalFileTimeOf(*stored, zone);
    EXPECT_EQ(local ? std::optional(local->ticks()) : std::nullopt, expected) << text;
  }
}

TEST(LocalTimeTest, RefusesEveryOtherText) {
  for (const char* text :
       {"2005-3-01", "20050301", "2005-03-01T", "2005-03-01T12", "2005-03-01 12:00:00",
        "2005-03-01T12:00:00.Z", "2005-03-01T12:00:00Z ", "2005-03-01T12:00:00-",
        "2005-03-01T12:00:00+24:00", "2005-03-01T12:00:00+05:60", "2005-03-01T24:00:00",
        "2005-03-01T12:60:00", "2005-03-01T12:00:60", "2005-00-10", "2005-13-01", "2005-03-00",
        "2005-04-31", "1600-12-31", "1601-01-01T00:00:00+01:00"}) {
    EXPECT_FALSE(ParseIsoTime(text).has_value()) << text;
  }
}

TEST_F(LibraryTest, TheTimeGetterUsesTheBiasInForceAtEachCall) {
  OpenOneEntry(R"(["PR_LAST_MODIFICATION_TIME", "2005-03-01T12:00:00Z"],
    ["PR_CREATION_TIME", "1601-01-01T00:00:00Z"])");
  FileTime value{0xAAAA, 0xBBBB};
  for (const auto& [zone, shift] :
       {std::pair{kEastEight, 8 * kHour}, {kEasternDaylight, -4 * kHour}}) {
    time_zone_->information = zone;
    ASSERT_NE(library_->kWabGetProp_SysTime(context_, entries_[0], kModified, value), 0);
    EXPECT_EQ(value.ticks(), Ticks(kNoon + shift));
  }
  // Before 1601 in local time: nothing to hand out, and the value is left alone.
  EXPECT_EQ(library_->kWabGetProp_SysTime(context_, entries_[0], 0x30070040, value), 0);
  EXPECT_EQ(value.ticks(), Ticks(kNoon - 4 * kHour));
}

}  // namespace
}  // namespace orvane::posix
