#pragma once

#include <cstdint>

namespace orvane::tags {

// Published MAPI property tags of the values the address-book source reads.
inline constexpr int32_t PR_SURNAME = 0x3A11001E;
inline constexpr int32_t PR_GIVEN_NAME = 0x3A06001E;
inline constexpr int32_t PR_DISPLAY_NAME_PREFIX = 0x3A45001E;
inline constexpr int32_t PR_GENERATION = 0x3A05001E;
inline constexpr int32_t PR_DISPLAY_NAME = 0x3001001E;
inline constexpr int32_t PR_NICKNAME = 0x3A4F001E;
inline constexpr int32_t PR_COMPANY_NAME = 0x3A16001E;
inline constexpr int32_t PR_DEPARTMENT_NAME = 0x3A18001E;
inline constexpr int32_t PR_TITLE = 0x3A17001E;
inline constexpr int32_t PR_COMMENT = 0x3004001E;
inline constexpr int32_t PR_BUSINESS_TELEPHONE_NUMBER = 0x3A08001E;
inline constexpr int32_t PR_HOME_TELEPHONE_NUMBER = 0x3A09001E;
inline constexpr int32_t PR_MOBILE_TELEPHONE_NUMBER = 0x3A1C001E;
inline constexpr int32_t PR_PAGER_TELEPHONE_NUMBER = 0x3A21001E;
inline constexpr int32_t PR_BUSINESS_FAX_NUMBER = 0x3A24001E;
inline constexpr int32_t PR_HOME_FAX_NUMBER = 0x3A25001E;
inline constexpr int32_t PR_OFFICE_LOCATION = 0x3A19001E;
inline constexpr int32_t PR_STREET_ADDRESS = 0x3A29001E;
inline constexpr int32_t PR_LOCALITY = 0x3A27001E;
inline constexpr int32_t PR_STATE_OR_PROVINCE = 0x3A28001E;
inline constexpr int32_t PR_POSTAL_CODE = 0x3A2A001E;
inline constexpr int32_t PR_COUNTRY = 0x3A26001E;
inline constexpr int32_t PR_HOME_ADDRESS_STREET = 0x3A5D001E;
inline constexpr int32_t PR_HOME_ADDRESS_CITY = 0x3A59001E;
inline constexpr int32_t PR_HOME_ADDRESS_STATE_OR_PROVINCE = 0x3A5C001E;
inline constexpr int32_t PR_HOME_ADDRESS_POSTAL_CODE = 0x3A5B001E;
inline constexpr int32_t PR_HOME_ADDRESS_COUNTRY = 0x3A5A001E;
inline constexpr int32_t PR_GENDER = 0x3A4D0002;
inline constexpr int32_t PR_PERSONAL_HOME_PAGE = 0x3A50001E;
inline constexpr int32_t PR_BUSINESS_HOME_PAGE = 0x3A51001E;
inline constexpr int32_t PR_PROFESSION = 0x3A46001E;
inline constexpr int32_t PR_BIRTHDAY = 0x3A420040;
inline constexpr int32_t PR_EMAIL_ADDRESS = 0x3003001E;
inline constexpr int32_t PR_CONTACT_EMAIL_ADDRESSES = 0x3A56101E;
inline constexpr int32_t PR_LAST_MODIFICATION_TIME = 0x30080040;

}  // namespace orvane::tags
