#include "platform/posix/address_book/property_tags.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orvane::posix {
namespace {

struct TagCase {
  const char* text;
  std::optional<uint32_t> expected;
};

// The published values of every tag the export reads, and the other ways to write a tag.
const TagCase kTagCases[] = {
    {"PR_SURNAME", 0x3A11001E},
    {"PR_GIVEN_NAME", 0x3A06001E},
    {"PR_DISPLAY_NAME_PREFIX", 0x3A45001E},
    {"PR_GENERATION", 0x3A05001E},
    {"PR_DISPLAY_NAME", 0x3001001E},
    {"PR_NICKNAME", 0x3A4F001E},
    {"PR_COMPANY_NAME", 0x3A16001E},
    {"PR_DEPARTMENT_NAME", 0x3A18001E},
    {"PR_TITLE", 0x3A17001E},
    {"PR_COMMENT", 0x3004001E},
    {"PR_BUSINESS_TELEPHONE_NUMBER", 0x3A08001E},
    {"PR_HOME_TELEPHONE_NUMBER", 0x3A09001E},
    {"PR_MOBILE_TELEPHONE_NUMBER", 0x3A1C001E},
    {"PR_PAGER_TELEPHONE_NUMBER", 0x3A21001E},
    {"PR_BUSINESS_FAX_NUMBER", 0x3A24001E},
    {"PR_HOME_FAX_NUMBER", 0x3A25001E},
    {"PR_OFFICE_LOCATION", 0x3A19001E},
    {"PR_STREET_ADDRESS", 0x3A29001E},
    {"PR_LOCALITY", 0x3A27001E},
    {"PR_STATE_OR_PROVINCE", 0x3A28001E},
    {"PR_POSTAL_CODE", 0x3A2A001E},
    {"PR_COUNTRY", 0x3A26001E},
    {"PR_HOME_ADDRESS_STREET", 0x3A5D001E},
    {"PR_HOME_ADDRESS_CITY", 0x3A59001E},
    {"PR_HOME_ADDRESS_STATE_OR_PROVINCE", 0x3A5C001E},
    {"PR_HOME_ADDRESS_POSTAL_CODE", 0x3A5B001E},
    {"PR_HOME_ADDRESS_COUNTRY", 0x3A5A001E},
    {"PR_GENDER", 0x3A4D0002},
    {"PR_PERSONAL_HOME_PAGE", 0x3A50001E},
    {"PR_BUSINESS_HOME_PAGE", 0x3A51001E},
    {"PR_PROFESSION", 0x3A46001E},
    {"PR_BIRTHDAY", 0x3A420040},
    {"PR_EMAIL_ADDRESS", 0x3003001E},
    {"PR_CONTACT_EMAIL_ADDRESSES", 0x3A56101E},
    {"PR_LAST_MODIFICATION_TIME", 0x30080040},
    {"PR_ENTRYID", 0x0FFF0102},
    {"PR_CONTACT_DEFAULT_ADDRESS_INDEX", 0x3A550003},
    {"PR_SEND_RICH_INFO", 0x3A40000B},
    // The 8-bit and wide forms of text tags.
    {"PR_DISPLAY_NAME_A", 0x3001001E},
    {"PR_DISPLAY_NAME_W", 0x3001001F},
    {"PR_CONTACT_EMAIL_ADDRESSES_W", 0x3A56101F},
    {"PR_GENDER_W", std::nullopt},
    {"PR_BIRTHDAY_A", std::nullopt},
    {"PR_DISPLAY_NAME_X", std::nullopt},
    // Hexadecimal tags.
    {"0x3A4F001E", 0x3A4F001E},
    {"0X3a4f001e", 0x3A4F001E},
    {"0x1E", 0x0000001E},
    {"0xFFFFFFFF", 0xFFFFFFFF},
    {"0x000000001", std::nullopt},
    {"0x123456789", std::nullopt},
    {"0x", std::nullopt},
    {"0x3A4G001E", std::nullopt},
    {"0x-1", std::nullopt},
    {"0x+1", std::nullopt},
    {"3A4F001E", std::nullopt},
    {"0x00000000", std::nullopt},
    // Names are exact.
    {"", std::nullopt},
    {"PR_UNKNOWN", std::nullopt},
    {"pr_display_name", std::nullopt},
    {" PR_DISPLAY_NAME", std::nullopt},
    {"PR_DISPLAY_NAME ", std::nullopt},
};

class TagFromTextTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagFromTextTest, GivesThePublishedTag) {
  const auto tag = TagFromText(GetParam().text);
  ASSERT_EQ(tag.has_value(), GetParam().expected.has_value()) << GetParam().text;
  if (tag) {
    EXPECT_EQ(static_cast<uint32_t>(*tag), *GetParam().expected) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, TagFromTextTest, ::testing::ValuesIn(kTagCases));

TEST(NameOfTagTest, NamesKnownTagsAndNothingElse) {
  EXPECT_EQ(NameOfTag(0x3A4D0002), "PR_GENDER");
  EXPECT_EQ(NameOfTag(0x30080040), "PR_LAST_MODIFICATION_TIME");
  EXPECT_EQ(NameOfTag(0x3001001F), "");
  EXPECT_EQ(NameOfTag(0x12340003), "");
}

TEST(PropertyTypeOfTest, IsTheLowSixteenBits) {
  EXPECT_EQ(PropertyTypeOf(0x3A56101E), 0x101E);
  EXPECT_EQ(PropertyTypeOf(static_cast<int32_t>(0xFFFF0040)), 0x0040);
}

}  // namespace
}  // namespace orvane::posix
