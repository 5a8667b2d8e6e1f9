#include "platform/posix/address_book/property_tags.h"

#include <array>
#include <charconv>
#include <string>
#include <unordered_map>

#include "platform/address_book_library.h"

namespace orvane::posix {
namespace {

struct NamedTag {
  std::string_view name;
  uint32_t tag;
};

// Published MAPI tags of contact properties: all that the address-book export
// reads, and a few common ones that address books hold beside them.
constexpr std::array kNamedTags = {
    NamedTag{"PR_DISPLAY_NAME", 0x3001001E},
    NamedTag{"PR_ADDRTYPE", 0x3002001E},
    NamedTag{"PR_EMAIL_ADDRESS", 0x3003001E},
    NamedTag{"PR_COMMENT", 0x3004001E},
    NamedTag{"PR_CREATION_TIME", 0x30070040},
    NamedTag{"PR_LAST_MODIFICATION_TIME", 0x30080040},
    NamedTag{"PR_SEARCH_KEY", 0x300B0102},
    NamedTag{"PR_ENTRYID", 0x0FFF0102},
    NamedTag{"PR_OBJECT_TYPE", 0x0FFE0003},
    NamedTag{"PR_RECORD_KEY", 0x0FF90102},
    NamedTag{"PR_DISPLAY_TYPE", 0x39000003},
    NamedTag{"PR_GENERATION", 0x3A05001E},
    NamedTag{"PR_GIVEN_NAME", 0x3A06001E},
    NamedTag{"PR_BUSINESS_TELEPHONE_NUMBER", 0x3A08001E},
    NamedTag{"PR_HOME_TELEPHONE_NUMBER", 0x3A09001E},
    NamedTag{"PR_INITIALS", 0x3A0A001E},
    NamedTag{"PR_SURNAME", 0x3A11001E},
    NamedTag{"PR_COMPANY_NAME", 0x3A16001E},
    NamedTag{"PR_TITLE", 0x3A17001E},
    NamedTag{"PR_DEPARTMENT_NAME", 0x3A18001E},
    NamedTag{"PR_OFFICE_LOCATION", 0x3A19001E},
    NamedTag{"PR_MOBILE_TELEPHONE_NUMBER", 0x3A1C001E},
    NamedTag{"PR_CAR_TELEPHONE_NUMBER", 0x3A1E001E},
    NamedTag{"PR_OTHER_TELEPHONE_NUMBER", 0x3A1F001E},
    NamedTag{"PR_PAGER_TELEPHONE_NUMBER", 0x3A21001E},
    NamedTag{"PR_BUSINESS_FAX_NUMBER", 0x3A24001E},
    NamedTag{"PR_HOME_FAX_NUMBER", 0x3A25001E},
    NamedTag{"PR_COUNTRY", 0x3A26001E},
    NamedTag{"PR_LOCALITY", 0x3A27001E},
    NamedTag{"PR_STATE_OR_PROVINCE", 0x3A28001E},
    NamedTag{"PR_STREET_ADDRESS", 0x3A29001E},
    NamedTag{"PR_POSTAL_CODE", 0x3A2A001E},
    NamedTag{"PR_SEND_RICH_INFO", 0x3A40000B},
    NamedTag{"PR_WEDDING_ANNIVERSARY", 0x3A410040},
    NamedTag{"PR_BIRTHDAY", 0x3A420040},
    NamedTag{"PR_MIDDLE_NAME", 0x3A44001E},
    NamedTag{"PR_DISPLAY_NAME_PREFIX", 0x3A45001E},
    NamedTag{"PR_PROFESSION", 0x3A46001E},
    NamedTag{"PR_SPOUSE_NAME", 0x3A48001E},
    NamedTag{"PR_GENDER", 0x3A4D0002},
    NamedTag{"PR_NICKNAME", 0x3A4F001E},
    NamedTag{"PR_PERSONAL_HOME_PAGE", 0x3A50001E},
    NamedTag{"PR_BUSINESS_HOME_PAGE", 0x3A51001E},
    NamedTag{"PR_CONTACT_ADDRTYPES", 0x3A54101E},
    NamedTag{"PR_CONTACT_DEFAULT_ADDRESS_INDEX", 0x3A550003},
    NamedTag{"PR_CONTACT_EMAIL_ADDRESSES", 0x3A56101E},
    NamedTag{"PR_HOME_ADDRESS_CITY", 0x3A59001E},
    NamedTag{"PR_HOME_ADDRESS_COUNTRY", 0x3A5A001E},
    NamedTag{"PR_HOME_ADDRESS_POSTAL_CODE", 0x3A5B001E},
    NamedTag{"PR_HOME_ADDRESS_STATE_OR_PROVINCE", 0x3A5C001E},
    NamedTag{"PR_HOME_ADDRESS_STREET", 0x3A5D001E},
};

// The wide-text type that goes with an 8-bit text type, and back.
constexpr int32_t kWideTextTypeOffset = PT_UNICODE - PT_STRING8;

bool IsEightBitTextType(int32_t type) { return type == PT_STRING8 || type == PT_MV_STRING8; }

// Every property of a store is looked up by its name: a hash table, made once.
std::optional<int32_t> TagOfPlainName(std::string_view name) {
  static const std::unordered_map<std::string_view, int32_t> tags = [] {
    std::unordered_map<std::string_view, int32_t> by_name;
    for (const NamedTag& named : kNamedTags) {
      by_name.emplace(named.name, static_cast<int32_t>(named.tag));
    }
    return by_name;
  }();
  const auto found = tags.find(name);
  if (found == tags.end()) return std::nullopt;
  return found->second;
}

// "PR_X_A" is the 8-bit text form of PR_X, "PR_X_W" its wide-text form.
std::optional<int32_t> TagOfSuffixedName(std::string_view name) {
  if (name.size() < 3 || name[name.size() - 2] != '_') return std::nullopt;
  const char suffix = name.back();
  if (suffix != 'A' && suffix != 'W') return std::nullopt;
  const auto base = TagOfPlainName(name.substr(0, name.size() - 2));
  if (!base || !IsEightBitTextType(PropertyTypeOf(*base))) return std::nullopt;
  return suffix == 'A' ? *base : *base + kWideTextTypeOffset;
}

std::optional<int32_t> TagOfNumber(std::string_view text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  const std::string_view digits = text.substr(2);
  if (digits.size() > 8) return std::nullopt;
  uint32_t tag = 0;
  const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), tag, 16);
  if (failure != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return static_cast<int32_t>(tag);
}

}  // namespace

std::optional<int32_t> TagFromText(std::string_view text) {
  std::optional<int32_t> tag = TagOfNumber(text);
  if (!tag) tag = TagOfPlainName(text);
  if (!tag) tag = TagOfSuffixedName(text);
  if (tag == 0) return std::nullopt;
  return tag;
}

}  // namespace orvane::posix
