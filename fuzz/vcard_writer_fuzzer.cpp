// The address-book card writer on any set of properties, in any code page: the
// card is whole, and every line break in it is one the card itself makes, so
// no value can split a line or forge one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "addressbook/mapi_tags.h"
#include "addressbook/tests/fake_call.h"
#include "addressbook/vcard_writer.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/posix/posix_code_page.h"

namespace {

using namespace orvane;

constexpr int32_t kTags[] = {
    tags::PR_SURNAME, tags::PR_GIVEN_NAME, tags::PR_DISPLAY_NAME, tags::PR_NICKNAME,
    tags::PR_COMPANY_NAME, tags::PR_DEPARTMENT_NAME, tags::PR_TITLE, tags::PR_COMMENT,
    tags::PR_BUSINESS_TELEPHONE_NUMBER, tags::PR_OFFICE_LOCATION, tags::PR_STREET_ADDRESS,
    tags::PR_LOCALITY, tags::PR_COUNTRY, tags::PR_HOME_ADDRESS_STREET, tags::PR_GENDER,
    tags::PR_BIRTHDAY, tags::PR_EMAIL_ADDRESS, tags::PR_CONTACT_EMAIL_ADDRESSES,
    tags::PR_LAST_MODIFICATION_TIME, tags::PR_PERSONAL_HOME_PAGE};

testing::FakeEntry EntryFrom(fuzzing::FuzzInput& input) {
  testing::FakeEntry entry;
  while (!input.empty()) {
    const uint8_t pick = input.Byte();
    const int32_t tag = kTags[pick % std::size(kTags)];
    switch (input.Byte() % 4) {
      case 0: entry.Text(tag, input.Bytes(input.Byte())); break;
      case 1: entry.Short(tag, static_cast<int16_t>(input.Word())); break;
      case 2: entry.Time(tag, FileTime{input.Long(), input.Long()}); break;
      default: {
        testing::FakeList list(input.Byte() % 4);
        for (std::string& element : list) element = input.Bytes(input.Byte());
        entry.List(tag, list);
      }
    }
  }
  return entry;
}

void CheckCard(const std::u16string& card) {
  FUZZ_CHECK(card.rfind(u"BEGIN:VCARD\r\nVERSION:2.1\r\n", 0) == 0);
  FUZZ_CHECK(card.size() >= 11 && card.substr(card.size() - 11) == u"\r\nEND:VCARD");
  for (size_t i = 0; i < card.size(); ++i) {
    if (card[i] == u'\r') FUZZ_CHECK(i + 1 < card.size() && card[i + 1] == u'\n');
    if (card[i] == u'\n') FUZZ_CHECK(i > 0 && card[i - 1] == u'\r');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput input(data, size);
  const uint32_t code_page = input.CodePage();
  const float offset = static_cast<float>(static_cast<int8_t>(input.Byte())) / 4.0f;
  testing::FakeCall call({EntryFrom(input)});
  call.platform.code_page = std::make_shared<posix::PosixCodePage>(code_page);
  CheckCard(BuildWabVCard(call.context, 1, offset, 1));
  CheckCard(BuildWabVCard(call.context, 1, offset, 0));
  return 0;
}
