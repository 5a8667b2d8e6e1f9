#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/posix/address_book/property_tags.h"
#include "platform/posix/address_book/tests/library_fixture.h"

namespace orvane::posix {
namespace {

// Every tag the address-book vCard writer reads.
constexpr uint32_t kWriterTags[] = {
    0x3A11001E, 0x3A06001E, 0x3A45001E, 0x3A05001E, 0x3001001E, 0x3A4F001E, 0x3A16001E,
    0x3A18001E, 0x3A17001E, 0x3004001E, 0x3A08001E, 0x3A09001E, 0x3A1C001E, 0x3A21001E,
    0x3A24001E, 0x3A25001E, 0x3A19001E, 0x3A29001E, 0x3A27001E, 0x3A28001E, 0x3A2A001E,
    0x3A26001E, 0x3A5D001E, 0x3A59001E, 0x3A5C001E, 0x3A5B001E, 0x3A5A001E, 0x3A4D0002,
    0x3A50001E, 0x3A51001E, 0x3A46001E, 0x3A420040, 0x3003001E, 0x3A56101E, 0x30080040,
};

constexpr int32_t kDisplayName = 0x3001001E;
constexpr int32_t kComment = 0x3004001E;
constexpr int32_t kGender = 0x3A4D0002;
constexpr int32_t kStreet = 0x3A29001E;
constexpr int32_t kHomeStreet = 0x3A5D001E;
constexpr int32_t kEmail = 0x3003001E;
constexpr int32_t kEmails = 0x3A56101E;

class SampleAddressBookTest : public testing::LibraryTest {
 protected:
  void SetUp() override {
    library_ = MakeJsonAddressBookLibrary(JsonAddressBookSettings{
        std::make_shared<testing::Utf8CodePage>(), time_zone_,
        ORVANE_SAMPLES_FOLDER "/address-book.json", cache_, testing::EmptyEnvironment()});
    ASSERT_NE(library_->kWabOpen(context_), 0) << ReasonText();
    const int32_t count = library_->kWabGetNumEntries(context_);
    entries_.assign(static_cast<size_t>(count), WabEntry{});
    ASSERT_EQ(library_->kWabGetEntries(context_, entries_.data(), count), count);
  }

  std::set<int32_t> TagsOf(WabEntry& entry) {
    std::set<int32_t> tags;
    const int32_t count = library_->kWabGetNumProps(context_, entry);
    for (int32_t i = 0; i < count; ++i) tags.insert(library_->kWabGetPropTag(context_, entry, i, 0));
    return tags;
  }

  std::vector<std::string> ListOf(WabEntry& entry, int32_t tag) {
    int32_t count = 0;
    std::vector<std::string> elements;
    if (library_->kWabGetProp_MV_String_Count(context_, entry, tag, count) == 0) return elements;
    for (int32_t i = 0; i < count; ++i) {
      char buffer[256] = {};
      library_->kWabGetProp_MV_String_Data(context_, entry, tag, buffer, 256, nullptr, i);
      elements.push_back(buffer);
    }
    return elements;
  }

  bool AnyString(int32_t tag, const std::function<bool(const std::string&)>& holds) {
    for (WabEntry& entry : entries_) {
      const std::string value = StringOf(entry, tag);
      if (value != "<none>" && holds(value)) return true;
    }
    return false;
  }

  bool HasDisplayName(const std::string& name) {
    return AnyString(kDisplayName, [&](const std::string& value) { return value == name; });
  }
};

TEST_F(SampleAddressBookTest, HoldsAboutADozenEntries) {
  EXPECT_GE(entries_.size(), 10u);
  EXPECT_LE(entries_.size(), 15u);
}

TEST_F(SampleAddressBookTest, UsesEveryTagTheWriterReads) {
  std::set<int32_t> used;
  for (WabEntry& entry : entries_) used.merge(TagsOf(entry));
  for (const uint32_t tag : kWriterTags) {
    EXPECT_TRUE(used.contains(static_cast<int32_t>(tag))) << NameOfTag(static_cast<int32_t>(tag));
  }
}

TEST_F(SampleAddressBookTest, HasEveryGenderValue) {
  std::set<int16_t> genders;
  for (WabEntry& entry : entries_) {
    int16_t gender = -1;
    if (library_->kWabGetProp_Short(context_, entry, kGender, gender) != 0) genders.insert(gender);
  }
  EXPECT_EQ(genders, (std::set<int16_t>{0, 1, 2}));
}

TEST_F(SampleAddressBookTest, HasNamesInThreeScripts) {
  EXPECT_TRUE(HasDisplayName("Amelia Hartwell"));
  EXPECT_TRUE(HasDisplayName("\xE9\x99\xB3\xE7\xBE\x8E\xE7\x8E\xB2"));  // Traditional
  EXPECT_TRUE(HasDisplayName("\xE7\x8E\x8B\xE5\xBB\xBA\xE5\x9B\xBD"));  // Simplified
}

TEST_F(SampleAddressBookTest, HasAnEntryWithOnlyADisplayName) {
  bool found = false;
  for (WabEntry& entry : entries_) {
    found = found || TagsOf(entry) == std::set<int32_t>{kDisplayName};
  }
  EXPECT_TRUE(found);
}

TEST_F(SampleAddressBookTest, HasTheTextsThatNeedCareInACard) {
  auto contains = [](const char* part) {
    return [part](const std::string& value) { return value.find(part) != std::string::npos; };
  };
  EXPECT_TRUE(AnyString(kComment, contains("\r\n")));
  EXPECT_TRUE(AnyString(kComment, [](const std::string& value) {
    return value.find('=') != std::string::npos && value.find(';') != std::string::npos;
  }));
  EXPECT_TRUE(AnyString(kStreet, contains(",")) || AnyString(kHomeStreet, contains(",")));
  EXPECT_TRUE(AnyString(kStreet, contains("\r\n")));
}

TEST_F(SampleAddressBookTest, HasAnAddressListHoldingThePreferredAddressAndOthers) {
  bool found = false;
  for (WabEntry& entry : entries_) {
    const std::string preferred = StringOf(entry, kEmail);
    const std::vector<std::string> list = ListOf(entry, kEmails);
    const bool holds_preferred = std::find(list.begin(), list.end(), preferred) != list.end();
    found = found || (holds_preferred && list.size() >= 3);
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace orvane::posix
