#include "platform/posix/address_book/json_address_book.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/posix/address_book/tests/library_fixture.h"

namespace orvane::posix {
namespace {

using testing::LibraryTest;
using testing::OneEntryDocument;

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kGender = 0x3A4D0002;

const char* const kThreeEntries = R"({"entries": [
  {"properties": [["PR_DISPLAY_NAME", "Ann"], ["PR_GENDER", 1],
                  ["PR_DISPLAY_NAME", "Ann B."], ["0x12340003", 5]]},
  {"properties": []},
  {"properties": [["PR_DISPLAY_NAME", "Cy"]]}
]})";

class SessionTest : public LibraryTest {};

TEST_F(SessionTest, OpenFillsTheContextAndCountsEntries) {
  OpenBook(kThreeEntries);
  EXPECT_NE(context_.handle, 0u);
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
  EXPECT_EQ(library_->OpenFailureReason(), u"");
}

TEST_F(SessionTest, CloseEndsTheSessionOnce) {
  OpenBook(kThreeEntries);
  WabContext copy = context_;
  EXPECT_EQ(library_->kWabClose(context_), 1);
  EXPECT_EQ(context_.handle, 0u);
  EXPECT_EQ(library_->kWabGetNumEntries(copy), 0);
  EXPECT_EQ(library_->kWabClose(copy), 0);
  EXPECT_EQ(library_->kWabClose(context_), 0);
}

TEST_F(SessionTest, OpeningAnOpenContextAgainReleasesItsOldSession) {
  OpenBook(kThreeEntries);
  const WabContext old = context_;
  ASSERT_NE(library_->kWabOpen(context_), 0);
  EXPECT_NE(context_.handle, old.handle);
  WabContext old_copy = old;
  EXPECT_EQ(library_->kWabGetNumEntries(old_copy), 0);
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
}

TEST_F(SessionTest, AContextOfAnotherLibraryFindsNothing) {
  OpenBook(kThreeEntries);
  const auto other = MakeLibrary(path_);
  EXPECT_EQ(other->kWabGetNumEntries(context_), 0);
  EXPECT_EQ(other->kWabClose(context_), 0);
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
}

// Every call with a context that no open session stands behind.
using Call = std::function<int32_t(AddressBookLibrary&, WabContext&)>;

struct NamedCall {
  const char* name;
  Call call;
};

std::vector<NamedCall> EveryContextCall() {
  static WabEntry entry{1};
  static WabEntry entries[3];
  static char buffer[128];
  static int16_t short_value;
  static FileTime time_value;
  static int32_t count;
  return {
      {"GetNumEntries", [](auto& l, auto& c) { return l.kWabGetNumEntries(c); }},
      {"GetEntries", [](auto& l, auto& c) { return l.kWabGetEntries(c, entries, 3); }},
      {"FreeEntries", [](auto& l, auto& c) { return l.kWabFreeEntries(c, entries, 3); }},
      {"GetNumProps", [](auto& l, auto& c) { return l.kWabGetNumProps(c, entry); }},
      {"GetPropTag", [](auto& l, auto& c) { return l.kWabGetPropTag(c, entry, 0, 0); }},
      {"String", [](auto& l, auto& c) {
         return int32_t{l.kWabGetProp_String(c, entry, kDisplayName, buffer, 128, nullptr)};
       }},
      {"Short", [](auto& l, auto& c) {
         return int32_t{l.kWabGetProp_Short(c, entry, kGender, short_value)};
       }},
      {"SysTime", [](auto& l, auto& c) {
         return int32_t{l.kWabGetProp_SysTime(c, entry, 0x30080040, time_value)};
       }},
      {"MvCount", [](auto& l, auto& c) {
         return int32_t{l.kWabGetProp_MV_String_Count(c, entry, 0x3A56101E, count)};
       }},
      {"MvData", [](auto& l, auto& c) {
         return int32_t{l.kWabGetProp_MV_String_Data(c, entry, 0x3A56101E, buffer, 128, nullptr, 0)};
       }},
      {"Close", [](auto& l, auto& c) { return l.kWabClose(c); }},
  };
}

TEST_F(SessionTest, EveryCallWithoutAnOpenSessionGivesZero) {
  OpenBook(R"({"entries": [{"properties": [["PR_DISPLAY_NAME", "Ann"], ["PR_GENDER", 1],
    ["PR_LAST_MODIFICATION_TIME", "2005-03-01T12:00:00Z"],
    ["PR_CONTACT_EMAIL_ADDRESSES", ["a@example.com"]]]}]})");
  for (const uint64_t handle : {uint64_t{0}, context_.handle + 1000, ~uint64_t{0}}) {
    for (const NamedCall& named : EveryContextCall()) {
      WabContext stranger{handle};
      EXPECT_EQ(named.call(*library_, stranger), 0) << named.name << " with handle " << handle;
    }
  }
  // The real session is still open and works.
  for (const NamedCall& named : EveryContextCall()) {
    WabContext own = context_;
    EXPECT_NE(named.call(*library_, own), 0) << named.name;
    if (own.handle == 0) {
      ASSERT_NE(library_->kWabOpen(context_), 0);
    }
  }
}

TEST_F(SessionTest, GetEntriesFillsAtMostTheEntriesThereAre) {
  OpenBook(kThreeEntries);
  WabEntry many[5] = {{99}, {99}, {99}, {99}, {99}};
  EXPECT_EQ(library_->kWabGetEntries(context_, many, 5), 3);
  EXPECT_EQ(many[0].id, 1u);
  EXPECT_EQ(many[1].id, 2u);
  EXPECT_EQ(many[2].id, 3u);
  EXPECT_EQ(many[3].id, 99u);
  EXPECT_EQ(many[4].id, 99u);

  WabEntry few[3] = {{99}, {99}, {99}};
  EXPECT_EQ(library_->kWabGetEntries(context_, few, 2), 2);
  EXPECT_EQ(few[1].id, 2u);
  EXPECT_EQ(few[2].id, 99u);

  EXPECT_EQ(library_->kWabGetEntries(context_, few, 0), 0);
  EXPECT_EQ(library_->kWabGetEntries(context_, few, -1), 0);
  EXPECT_EQ(library_->kWabGetEntries(context_, nullptr, 3), 0);
}

TEST_F(SessionTest, FreeEntriesClearsThem) {
  OpenBook(kThreeEntries);
  EXPECT_EQ(library_->kWabFreeEntries(context_, entries_.data(), 3), 3);
  for (const WabEntry& entry : entries_) EXPECT_EQ(entry.id, 0u);
  EXPECT_EQ(library_->kWabGetNumProps(context_, entries_[0]), 0);
  EXPECT_EQ(library_->kWabFreeEntries(context_, nullptr, 3), 0);
  EXPECT_EQ(library_->kWabFreeEntries(context_, entries_.data(), 0), 0);
}

TEST_F(SessionTest, PropertiesKeepTheirOrderAndRepetitions) {
  OpenBook(kThreeEntries);
  ASSERT_EQ(library_->kWabGetNumProps(context_, entries_[0]), 4);
  const int32_t expected[] = {kDisplayName, kGender, kDisplayName, 0x12340003};
  for (int32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[0], i, 0), expected[i]) << i;
  }
  EXPECT_EQ(library_->kWabGetNumProps(context_, entries_[1]), 0);
  EXPECT_EQ(library_->kWabGetNumProps(context_, entries_[2]), 1);
}

TEST_F(SessionTest, UnknownEntriesAndIndexesGiveZero) {
  OpenBook(kThreeEntries);
  WabEntry never_filled{0};
  WabEntry past_the_end{4};
  WabEntry huge{~uint64_t{0}};
  for (WabEntry* entry : {&never_filled, &past_the_end, &huge}) {
    EXPECT_EQ(library_->kWabGetNumProps(context_, *entry), 0) << entry->id;
    EXPECT_EQ(library_->kWabGetPropTag(context_, *entry, 0, 0), 0) << entry->id;
    EXPECT_EQ(StringOf(*entry, kDisplayName), "<none>") << entry->id;
  }
  EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[0], -1, 0), 0);
  EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[0], 4, 0), 0);
  EXPECT_EQ(library_->kWabGetPropTag(context_, entries_[1], 0, 0), 0);
}

TEST_F(SessionTest, PropTypeIsTheLowSixteenBitsOfTheTag) {
  OpenBook(kThreeEntries);
  const std::pair<uint32_t, int32_t> cases[] = {
      {0x3001001E, 0x001E}, {0x3A4D0002, 0x0002}, {0x3A420040, 0x0040}, {0x3A56101E, 0x101E},
      {0x0FFF0102, 0x0102}, {0xFFFFFFFF, 0xFFFF}, {0x00000000, 0x0000},
  };
  for (const auto& [tag, type] : cases) {
    EXPECT_EQ(library_->kWabGetPropType(static_cast<int32_t>(tag)), type) << std::hex << tag;
  }
}

TEST_F(SessionTest, ASessionKeepsTheVersionItOpenedWhileNewOnesSeeTheChange) {
  OpenBook(kThreeEntries);
  folder_.Write("book.json.new", OneEntryDocument(R"(["PR_DISPLAY_NAME", "Dee"])"));
  ASSERT_EQ(std::rename((path_ + ".new").c_str(), path_.c_str()), 0);

  WabContext second;
  ASSERT_NE(library_->kWabOpen(second), 0);
  EXPECT_EQ(library_->kWabGetNumEntries(second), 1);
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
  EXPECT_EQ(StringOf(entries_[2], kDisplayName), "Cy");
}

class OpenFailureTest : public LibraryTest {};

TEST_F(OpenFailureTest, MalformedFileGivesZeroAndTheReason) {
  path_ = folder_.Write("book.json", "{\"entries\": [\n{\"properties\": [\n[\"PR_GENDER\", \"f\"]]}]}");
  library_ = MakeLibrary(path_);
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  EXPECT_EQ(context_.handle, 0u);
  const std::string expected =
      path_ + ": line 3: entry 1, property 1: PR_GENDER wants an integer from -32768 to 32767";
  EXPECT_EQ(library_->OpenFailureReason(), std::u16string(expected.begin(), expected.end()));
}

TEST_F(OpenFailureTest, MissingFileGivesZeroAndTheReason) {
  path_ = folder_.path() + "/none.json";
  library_ = MakeLibrary(path_);
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  const std::string expected = path_ + ": cannot read the file: No such file or directory";
  EXPECT_EQ(library_->OpenFailureReason(), std::u16string(expected.begin(), expected.end()));
}

TEST_F(OpenFailureTest, ReasonShowsAPathThatIsNotUtf8) {
  library_ = MakeLibrary(folder_.path() + "/b\xFF.json");
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  const std::u16string reason = library_->OpenFailureReason();
  EXPECT_NE(reason.find(u"/b\uFFFD.json: cannot read the file: "), std::u16string::npos);
}

TEST_F(OpenFailureTest, SuccessClearsTheReason) {
  library_ = MakeLibrary(folder_.path() + "/book.json");
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  EXPECT_NE(library_->OpenFailureReason(), u"");
  folder_.Write("book.json", kThreeEntries);
  EXPECT_NE(library_->kWabOpen(context_), 0);
  EXPECT_EQ(library_->OpenFailureReason(), u"");
}

TEST_F(OpenFailureTest, FailedOpenReleasesTheSessionTheContextHeld) {
  OpenBook(kThreeEntries);
  WabContext old = context_;
  ASSERT_EQ(std::remove(path_.c_str()), 0);
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  EXPECT_EQ(context_.handle, 0u);
  EXPECT_EQ(library_->kWabGetNumEntries(old), 0);
}

TEST_F(OpenFailureTest, NoFileAndNoEnvironmentGivesZeroAndTheReason) {
  library_ = MakeLibrary("");
  EXPECT_EQ(library_->kWabOpen(context_), 0);
  EXPECT_EQ(library_->OpenFailureReason(),
            u"no address book file: neither ORVANE_ADDRESS_BOOK nor HOME is set");
}

TEST_F(OpenFailureTest, MissingServicesAreRefusedAtOnce) {
  EXPECT_THROW(MakeJsonAddressBookLibrary(JsonAddressBookSettings{
                   nullptr, time_zone_, "", cache_, testing::EmptyEnvironment()}),
               std::invalid_argument);
  EXPECT_THROW(MakeJsonAddressBookLibrary(
                   JsonAddressBookSettings{code_page_, time_zone_, "", cache_, nullptr}),
               std::invalid_argument);
}

class DefaultFileTest : public LibraryTest {};

TEST_F(DefaultFileTest, OpensTheFileTheEnvironmentNames) {
  const std::string chosen = folder_.Write("chosen.json", kThreeEntries);
  library_ = MakeLibrary("", [&](const std::string& name) -> std::optional<std::string> {
    if (name == "ORVANE_ADDRESS_BOOK") return chosen;
    return std::nullopt;
  });
  ASSERT_NE(library_->kWabOpen(context_), 0) << ReasonText();
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
}

TEST_F(DefaultFileTest, OpensTheFileInTheHomeDataFolder) {
  std::filesystem::create_directories(folder_.path() + "/.local/share/orvane");
  folder_.Write(".local/share/orvane/address-book.json", OneEntryDocument(""));
  library_ = MakeLibrary("", [&](const std::string& name) -> std::optional<std::string> {
    if (name == "HOME") return folder_.path();
    return std::nullopt;
  });
  ASSERT_NE(library_->kWabOpen(context_), 0) << ReasonText();
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 1);
}

TEST_F(DefaultFileTest, NamedFileWinsOverTheEnvironment) {
  const std::string named = folder_.Write("named.json", kThreeEntries);
  library_ = MakeLibrary(named, [](const std::string&) -> std::optional<std::string> {
    return "/nowhere/book.json";
  });
  ASSERT_NE(library_->kWabOpen(context_), 0) << ReasonText();
  EXPECT_EQ(library_->kWabGetNumEntries(context_), 3);
}

TEST(PublicFactoryTest, OpensTheNamedFileTwice) {
  testing::TemporaryFolder folder;
  const std::string path = folder.Write("book.json", kThreeEntries);
  const auto library = MakeJsonAddressBookLibrary(std::make_shared<testing::Latin1CodePage>(),
                                                  std::make_shared<testing::FakeTimeZone>(), path);
  for (int round = 0; round < 2; ++round) {
    WabContext context;
    ASSERT_NE(library->kWabOpen(context), 0);
    EXPECT_EQ(library->kWabGetNumEntries(context), 3);
    EXPECT_EQ(library->kWabClose(context), 1);
  }
}

// Two readers on their own contexts while a writer swaps the file between two
// versions: every session must see one whole version from its open to its close.
TEST_F(SessionTest, ThreadsReadWholeVersionsWhileTheFileChanges) {
  const std::string version_a =
      R"({"entries": [{"properties": [["PR_DISPLAY_NAME", "A1"]]},
                      {"properties": [["PR_DISPLAY_NAME", "A2"]]}]})";
  const std::string version_b =
      R"({"entries": [{"properties": [["PR_DISPLAY_NAME", "B1"]]},
                      {"properties": [["PR_DISPLAY_NAME", "B2"]]},
                      {"properties": [["PR_DISPLAY_NAME", "B3"]]}]})";
  OpenBook(version_a);
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  auto read = [&] {
    for (int round = 0; round < 200; ++round) {
      WabContext context;
      if (library_->kWabOpen(context) == 0) { ++wrong; continue; }
      const int32_t count = library_->kWabGetNumEntries(context);
      std::vector<WabEntry> entries(static_cast<size_t>(count));
      library_->kWabGetEntries(context, entries.data(), count);
      const char expected_letter = count == 2 ? 'A' : 'B';
      for (int32_t i = 0; i < count; ++i) {
        char buffer[16] = {};
        library_->kWabGetProp_String(context, entries[i], kDisplayName, buffer, 16, nullptr);
        if (buffer[0] != expected_letter || buffer[1] != '1' + i) ++wrong;
      }
      library_->kWabClose(context);
    }
  };
  std::thread writer([&] {
    for (int round = 0; !stop; ++round) {
      folder_.Write("next.json", round % 2 ? version_a : version_b);
      std::rename((folder_.path() + "/next.json").c_str(), path_.c_str());
    }
  });
  std::thread first(read);
  std::thread second(read);
  first.join();
  second.join();
  stop = true;
  writer.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace orvane::posix
