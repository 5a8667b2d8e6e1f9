#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/posix/address_book/address_book_document.h"
#include "platform/posix/address_book/json_token_reader.h"

namespace orvane::posix {

// Builds an address book from the token stream of
//   {"entries": [{"properties": [[TAG, VALUE], ...]}, ...]}
// checking each VALUE against the type its TAG names. The tokens are read from
// the document's own text, where its text values stay.
class DocumentBuilder {
 public:
  explicit DocumentBuilder(AddressBookDocument& document) : document_(document) {}

  // False when the token does not fit; problem() then tells why, naming the
  // entry and property (both counted from 1).
  bool Accept(const JsonToken& token);
  const std::string& problem() const { return problem_; }

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
  bool AcceptPropertyValue(const JsonToken& token);
  bool AcceptTextListItem(const JsonToken& token);
  bool AcceptSkippedPart(const JsonToken& token);
  bool AcceptPropertyEnd(const JsonToken& token);

  // Checks a single (non-list) value against the property's type.
  bool AcceptScalarValue(const JsonToken& token);
  TextSpan SpanOf(std::string_view text) const;
  bool AddProperty(Property property);
  void EndEntry();
  bool Fail(const std::string& what);
  bool FailInEntry(const std::string& what);
  bool FailInProperty(const std::string& what);
  bool FailWrongValue(const std::string& wanted);

  State state_ = State::kRoot;
  AddressBookDocument& document_;
  // The properties of the entry being read; the entry gets them, sized to fit, at its end.
  std::vector<Property> properties_;
  bool entries_seen_ = false;
  bool properties_seen_ = false;
  size_t property_number_ = 0;
  int32_t tag_ = 0;
  std::string_view tag_text_;
  size_t list_start_ = 0;  // in document_.list_elements
  int skip_depth_ = 0;
  std::string problem_;
};

}  // namespace orvane::posix
