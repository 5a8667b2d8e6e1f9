#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/address_book/json_token_reader.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {

// Builds an address book from the token stream of
//   {"entries": [{"properties": [[TAG, VALUE], ...]}, ...]}
// checking each VALUE against the type its TAG names.
class DocumentBuilder {
 public:
  // False when the token does not fit; problem() then tells why, naming the
  // entry and property (both counted from 1).
  bool Accept(JsonToken token);
  const std::string& problem() const { return problem_; }
  // The document, once the reader has accepted the whole text.
  AddressBookDocument TakeDocument() { return std::move(document_); }

 private:
  enum class State {
    kRoot, kRootKeys, kEntriesStart, kEntryStart, kEntryKeys, kPropertiesStart,
    kPropertyStart, kPropertyTag, kPropertyValue, kTextList, kSkipValue, kPropertyEnd, kDone,
  };

  bool AcceptRoot(const JsonToken& token);
  bool AcceptRootKey(const JsonToken& token);
  bool AcceptEntriesStart(const JsonToken& token);
  bool AcceptEntryStart(const JsonToken& token);
  bool AcceptEntryKey(const JsonToken& token);
  bool AcceptPropertiesStart(const JsonToken& token);
  bool AcceptPropertyStart(const JsonToken& token);
  bool AcceptPropertyTag(const JsonToken& token);
  bool AcceptPropertyValue(JsonToken& token);
  bool AcceptTextListItem(JsonToken& token);
  bool AcceptSkippedPart(const JsonToken& token);
  bool AcceptPropertyEnd(const JsonToken& token);

  // Checks a single (non-list) value against the property's type.
  bool AcceptScalarValue(JsonToken& token);
  bool AddProperty(PropertyValue value);
  bool Fail(const std::string& what);
  bool FailInEntry(const std::string& what);
  bool FailInProperty(const std::string& what);
  bool FailWrongValue(const std::string& wanted);

  State state_ = State::kRoot;
  AddressBookDocument document_;
  bool entries_seen_ = false;
  bool properties_seen_ = false;
  size_t property_number_ = 0;
  int32_t tag_ = 0;
  std::string tag_text_;
  TextList text_list_;
  int skip_depth_ = 0;
  std::string problem_;
  Utf16Decoder decoder_{"UTF-8"};
};

}  // namespace orvane::posix
