#include "platform/posix/mail_store/mail_store_parser.h"

#include <limits>
#include <span>

#include "platform/posix/address_book/iso_time.h"
#include "platform/posix/mail_store/json_tree.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

constexpr size_t kMostEmailAddresses = 3;

// Why a value was refused, and on which line; caught once, at the top.
struct Refusal {
  int line;
  std::string what;
};

// The keys of an item, by the kind of value each takes.
struct TextKey {
  const char* key;
  std::u16string MailItem::*field;
};
struct TimeKey {
  const char* key;
  std::optional<StoredTime> MailItem::*field;
};
struct AddressKey {
  const char* key;
  MailPostalAddress MailItem::*field;
};
struct AddressPartKey {
  const char* key;
  std::u16string MailPostalAddress::*field;
};

constexpr TextKey kTextKeys[] = {
    {"subject", &MailItem::subject},
    {"fullName", &MailItem::full_name},
    {"title", &MailItem::title},
    {"firstName", &MailItem::first_name},
    {"middleName", &MailItem::middle_name},
    {"lastName", &MailItem::last_name},
    {"suffix", &MailItem::suffix},
    {"companyName", &MailItem::company_name},
    {"department", &MailItem::department},
    {"jobTitle", &MailItem::job_title},
    {"businessTelephoneNumber", &MailItem::business_telephone},
    {"homeTelephoneNumber", &MailItem::home_telephone},
    {"mobileTelephoneNumber", &MailItem::mobile_telephone},
    {"businessFaxNumber", &MailItem::business_fax},
    {"webPage", &MailItem::web_page},
    {"body", &MailItem::body},
    {"location", &MailItem::location},
    {"recurrenceRule", &MailItem::recurrence_rule},
};

constexpr TimeKey kTimeKeys[] = {
    {"lastModificationTime", &MailItem::last_modification_time},
    {"birthday", &MailItem::birthday},
    {"start", &MailItem::start},
    {"end", &MailItem::end},
};

constexpr AddressKey kAddressKeys[] = {
    {"businessAddress", &MailItem::business_address},
    {"homeAddress", &MailItem::home_address},
};

constexpr AddressPartKey kAddressPartKeys[] = {
    {"street", &MailPostalAddress::street},   {"city", &MailPostalAddress::city},
    {"state", &MailPostalAddress::state},     {"postalCode", &MailPostalAddress::postal_code},
    {"country", &MailPostalAddress::country},
};

template <typename Key>
const Key* FindKey(std::span<const Key> keys, std::string_view name) {
  for (const Key& key : keys) {
    if (name == key.key) return &key;
  }
  return nullptr;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Walks the tree of a mail-store file, keeping the place it is at for messages.
class StoreReader {
 public:
  MailStoreDocument ReadStore(const JsonNode& root) {
    if (!root.IsObject()) {
      throw Refusal{root.line,
                    "the document must be an object holding \"contacts\" and \"calendar\""};
    }
    MailStoreDocument document;
    bool contacts = false;
    bool calendar = false;
    for (const JsonNode& member : root.members) {
      place_ = Quoted(member.key);
      if (member.key == "contacts") {
        document.contacts = ReadFolder(member);
        contacts = true;
      } else if (member.key == "calendar") {
        document.calendar = ReadFolder(member);
        calendar = true;
      } else {
        throw Refusal{member.key_line, "unknown key " + Quoted(member.key) +
                                           ": the document holds \"contacts\" and \"calendar\""};
      }
    }
    if (!contacts || !calendar) {
      throw Refusal{LastLineOf(root), std::string("the document has no ") +
                                          (contacts ? "\"calendar\"" : "\"contacts\"")};
    }
    return document;
  }

 private:
  MailFolder ReadFolder(const JsonNode& node) {
    if (!node.IsObject()) Refuse(node, "a folder must be an object");
    MailFolder folder;
    for (const JsonNode& member : node.members) {
      if (member.key == "name") {
        folder.name = TextOf(member);
      } else if (member.key == "defaultMessageClass") {
        folder.default_message_class = TextOf(member);
      } else if (member.key == "items") {
        const std::string at = place_;
        for (const JsonNode& item : ArrayOf(member)) {
          place_ = at + ", item " + std::to_string(folder.items.size() + 1);
          folder.items.push_back(ReadItem(item));
        }
        place_ = at;
      } else if (member.key == "folders") {
        const std::string at = place_;
        for (const JsonNode& subfolder : ArrayOf(member)) {
          place_ = at + ", folder " + std::to_string(folder.folders.size() + 1);
          folder.folders.push_back(ReadFolder(subfolder));
        }
        place_ = at;
      } else {
        RefuseKey(member, "\"name\", \"defaultMessageClass\", \"items\" and \"folders\"");
      }
    }
    return folder;
  }

  MailItem ReadItem(const JsonNode& node) {
    if (!node.IsObject()) Refuse(node, "an item must be an object");
    MailItem item;
    bool has_class = false;
    for (const JsonNode& member : node.members) {
      if (member.key == "class") {
        item.item_class = Int32Of(member);
        has_class = true;
      } else if (!ReadItemField(member, item)) {
        RefuseKey(member, "\"class\", \"subject\" and the item fields in the README");
      }
    }
    if (!has_class) Refuse(node, "the item has no \"class\"");
    return item;
  }

  // False when the member is no item field.
  bool ReadItemField(const JsonNode& member, MailItem& item) {
    if (const auto* text = FindKey<TextKey>(kTextKeys, member.key)) {
      item.*(text->field) = TextOf(member);
    } else if (const auto* time = FindKey<TimeKey>(kTimeKeys, member.key)) {
      item.*(time->field) = TimeOf(member);
    } else if (const auto* address = FindKey<AddressKey>(kAddressKeys, member.key)) {
      item.*(address->field) = AddressOf(member);
    } else if (member.key == "emailAddresses") {
      item.email_addresses = EmailAddressesOf(member);
    } else if (member.key == "allDayEvent") {
      if (member.kind != JsonNode::Kind::kBoolean) RefuseValue(member, "true or false");
      item.all_day = member.boolean;
    } else if (member.key == "recurrenceState") {
      item.recurrence_state = Int32Of(member);
    } else {
      return false;
    }
    return true;
  }

  MailPostalAddress AddressOf(const JsonNode& node) {
    if (!node.IsObject()) RefuseValue(node, "an object of \"street\", \"city\", ...");
    MailPostalAddress address;
    for (const JsonNode& member : node.members) {
      const auto* part = FindKey<AddressPartKey>(kAddressPartKeys, member.key);
      if (part == nullptr) {
        RefuseKey(member, "\"street\", \"city\", \"state\", \"postalCode\" and \"country\"");
      }
      address.*(part->field) = TextOf(member);
    }
    return address;
  }

  std::vector<std::u16string> EmailAddressesOf(const JsonNode& node) {
    std::vector<std::u16string> addresses;
    for (const JsonNode& element : ArrayOf(node)) addresses.push_back(TextOf(element));
    if (addresses.size() > kMostEmailAddresses) {
      RefuseValue(node, "at most " + std::to_string(kMostEmailAddresses) + " addresses");
    }
    return addresses;
  }

  std::u16string TextOf(const JsonNode& node) {
    if (node.kind != JsonNode::Kind::kString) RefuseValue(node, "a string");
    return DecodeUtf8(node.text);
  }

  int32_t Int32Of(const JsonNode& node) {
    if (node.kind != JsonNode::Kind::kInteger || !node.integer ||
        *node.integer < std::numeric_limits<int32_t>::min() ||
        *node.integer > std::numeric_limits<int32_t>::max()) {
      RefuseValue(node, "an integer from -2147483648 to 2147483647");
    }
    return static_cast<int32_t>(*node.integer);
  }

  StoredTime TimeOf(const JsonNode& node) {
    const auto time = node.kind == JsonNode::Kind::kString ? ParseIsoTime(node.text)
                                                           : std::optional<StoredTime>{};
    if (!time) {
      RefuseValue(node, "an ISO 8601 time such as \"2005-03-01T12:00:00Z\" or \"1980-05-17\"");
    }
    return *time;
  }

  const std::vector<JsonNode>& ArrayOf(const JsonNode& node) {
    if (!node.IsArray()) RefuseValue(node, "an array");
    return node.members;
  }

  [[noreturn]] void Refuse(const JsonNode& node, const std::string& what) {
    throw Refusal{node.line, place_ + ": " + what};
  }
  // Names the key, whose value may stand on a later line.
  [[noreturn]] void RefuseValue(const JsonNode& node, const std::string& wanted) {
    if (node.key.empty()) Refuse(node, "each element wants " + wanted);
    throw Refusal{node.line, place_ + ": " + Quoted(node.key) + " wants " + wanted};
  }
  [[noreturn]] void RefuseKey(const JsonNode& member, const std::string& known) {
    throw Refusal{member.key_line,
                  place_ + ": unknown key " + Quoted(member.key) + ": the keys are " + known};
  }

  static int LastLineOf(const JsonNode& node) {
    return node.members.empty() ? node.line : LastLineOf(node.members.back());
  }

  std::string place_;
};

}  // namespace

ParsedText<MailStoreDocument> ParseMailStore(std::string text) {
  JsonTreeBuilder builder;
  if (std::string problem = ReadJsonTokens(text, builder); !problem.empty()) {
    return {nullptr, std::move(problem)};
  }
  try {
    StoreReader reader;
    return {std::make_shared<const MailStoreDocument>(reader.ReadStore(builder.TakeRoot())), {}};
  } catch (const Refusal& refusal) {
    return {nullptr, "line " + std::to_string(refusal.line) + ": " + refusal.what};
  }
}

}  // namespace orvane::posix
