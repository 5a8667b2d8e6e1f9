#include "platform/posix/address_book/document_builder.h"

#include <algorithm>
#include <limits>

#include "platform/address_book_library.h"
#include "platform/posix/address_book/iso_time.h"
#include "platform/posix/address_book/property_tags.h"

namespace orvane::posix {
namespace {

using Kind = JsonToken::Kind;

// Published types that no getter hands out, but whose values are still checked.
constexpr int32_t kBooleanType = 0x000B;
constexpr int32_t kWideTextListType = 0x101F;

bool IsStart(const JsonToken& token) {
  return token.kind == Kind::kStartObject || token.kind == Kind::kStartArray;
}
bool IsEnd(const JsonToken& token) {
  return token.kind == Kind::kEndObject || token.kind == Kind::kEndArray;
}

bool IntegerWithin(const JsonToken& token, int64_t lowest, int64_t highest) {
  return token.kind == Kind::kInteger && token.integer && *token.integer >= lowest &&
         *token.integer <= highest;
}

bool IsHexPairs(std::string_view text) {
  const bool all_hex = std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  });
  return all_hex && text.size() % 2 == 0;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Marks each property that a later one of the same tag overrides, so that a
// reader finds a tag's last value at once. A filter of 64 bits lets most
// properties pass without a look at the ones after them.
void MarkRepeatedTags(std::vector<Property>& properties) {
  uint64_t seen = 0;
  for (size_t index = properties.size(); index-- > 0;) {
    const int32_t tag = properties[index].tag();
    const uint64_t bit = uint64_t{1} << ((static_cast<uint32_t>(tag) * 2654435761u) >> 26);
    if ((seen & bit) != 0 &&
        std::any_of(properties.begin() + static_cast<std::ptrdiff_t>(index) + 1, properties.end(),
                    [&](const Property& later) { return later.tag() == tag; })) {
      properties[index].MarkRepeatedLater();
    }
    seen |= bit;
  }
}

}  // namespace

bool DocumentBuilder::Accept(const JsonToken& token) {
  switch (state_) {
    case State::kRoot: return AcceptRoot(token);
    case State::kRootKeys: return AcceptRootKey(token);
    case State::kEntriesStart: return AcceptEntriesStart(token);
    case State::kEntryStart: return AcceptEntryStart(token);
    case State::kEntryKeys: return AcceptEntryKey(token);
    case State::kPropertiesStart: return AcceptPropertiesStart(token);
    case State::kPropertyStart: return AcceptPropertyStart(token);
    case State::kPropertyTag: return AcceptPropertyTag(token);
    case State::kPropertyValue: return AcceptPropertyValue(token);
    case State::kTextList: return AcceptTextListItem(token);
    case State::kSkipValue: return AcceptSkippedPart(token);
    case State::kPropertyEnd: return AcceptPropertyEnd(token);
    case State::kDone: break;
  }
  return Fail("text after the end of the document");
}

bool DocumentBuilder::AcceptRoot(const JsonToken& token) {
  if (token.kind != Kind::kStartObject) {
    return Fail("the document must be an object holding \"entries\"");
  }
  state_ = State::kRootKeys;
  return true;
}

bool DocumentBuilder::AcceptRootKey(const JsonToken& token) {
  if (token.kind == Kind::kEndObject) {
    if (!entries_seen_) return Fail("the document has no \"entries\"");
    state_ = State::kDone;
    return true;
  }
  if (token.text != "entries") {
    return Fail("unknown key " + Quoted(token.text) + ": the document holds only \"entries\"");
  }
  if (entries_seen_) return Fail("\"entries\" appears twice");
  entries_seen_ = true;
  state_ = State::kEntriesStart;
  return true;
}

bool DocumentBuilder::AcceptEntriesStart(const JsonToken& token) {
  if (token.kind != Kind::kStartArray) return Fail("\"entries\" must be an array");
  state_ = State::kEntryStart;
  return true;
}

bool DocumentBuilder::AcceptEntryStart(const JsonToken& token) {
  if (token.kind == Kind::kEndArray) {
    state_ = State::kRootKeys;
    return true;
  }
  document_.entries.emplace_back();
  properties_.clear();
  if (token.kind != Kind::kStartObject) {
    return FailInEntry("an entry must be an object holding \"properties\"");
  }
  properties_seen_ = false;
  state_ = State::kEntryKeys;
  return true;
}

bool DocumentBuilder::AcceptEntryKey(const JsonToken& token) {
  if (token.kind == Kind::kEndObject) {
    if (!properties_seen_) return FailInEntry("the entry has no \"properties\"");
    EndEntry();
    state_ = State::kEntryStart;
    return true;
  }
  if (token.text != "properties") {
    return FailInEntry("unknown key " + Quoted(token.text) +
                       ": an entry holds only \"properties\"");
  }
  if (properties_seen_) return FailInEntry("\"properties\" appears twice");
  properties_seen_ = true;
  state_ = State::kPropertiesStart;
  return true;
}

bool DocumentBuilder::AcceptPropertiesStart(const JsonToken& token) {
  if (token.kind != Kind::kStartArray) return FailInEntry("\"properties\" must be an array");
  property_number_ = 0;
  state_ = State::kPropertyStart;
  return true;
}

bool DocumentBuilder::AcceptPropertyStart(const JsonToken& token) {
  if (token.kind == Kind::kEndArray) {
    state_ = State::kEntryKeys;
    return true;
  }
  ++property_number_;
  if (token.kind != Kind::kStartArray) return FailInProperty("a property must be a [tag, value] pair");
  state_ = State::kPropertyTag;
  return true;
}

bool DocumentBuilder::AcceptPropertyTag(const JsonToken& token) {
  if (token.kind == Kind::kEndArray) return FailInProperty("a property must be a [tag, value] pair");
  if (token.kind != Kind::kString) {
    return FailInProperty(
        "the tag must be a name such as \"PR_DISPLAY_NAME\" or a number such as \"0x3001001E\"");
  }
  const auto tag = TagFromText(token.text);
  if (!tag) return FailInProperty("unknown property tag " + Quoted(token.text));
  tag_ = *tag;
  tag_text_ = token.text;
  state_ = State::kPropertyValue;
  return true;
}

bool DocumentBuilder::AcceptPropertyValue(const JsonToken& token) {
  if (token.kind == Kind::kEndArray) return FailInProperty("a property must be a [tag, value] pair");
  const int32_t type = PropertyTypeOf(tag_);
  if (type == PT_MV_STRING8 || type == kWideTextListType) {
    if (token.kind != Kind::kStartArray) return FailWrongValue("an array of strings");
    list_start_ = document_.list_elements.size();
    state_ = State::kTextList;
    return true;
  }
  return AcceptScalarValue(token);
}

bool DocumentBuilder::AcceptScalarValue(const JsonToken& token) {
  switch (PropertyTypeOf(tag_)) {
    case PT_STRING8:
      if (token.kind != Kind::kString) return FailWrongValue("a string");
      return AddProperty(Property::OfText(tag_, SpanOf(token.text), token.ascii));
    case PT_UNICODE:
      if (token.kind != Kind::kString) return FailWrongValue("a string");
      return AddProperty(Property::WithoutValue(tag_));
    case PT_I2:
      if (!IntegerWithin(token, std::numeric_limits<int16_t>::min(),
                         std::numeric_limits<int16_t>::max())) {
        return FailWrongValue("an integer from -32768 to 32767");
      }
      return AddProperty(Property::OfShort(tag_, static_cast<int16_t>(*token.integer)));
    case PT_LONG:
      if (!IntegerWithin(token, std::numeric_limits<int32_t>::min(),
                         std::numeric_limits<int32_t>::max())) {
        return FailWrongValue("an integer from -2147483648 to 2147483647");
      }
      return AddProperty(Property::WithoutValue(tag_));
    case kBooleanType:
      if (token.kind != Kind::kBoolean) return FailWrongValue("true or false");
      return AddProperty(Property::WithoutValue(tag_));
    case PT_SYSTIME: {
      const auto time =
          token.kind == Kind::kString ? ParseIsoTime(token.text) : std::optional<StoredTime>{};
      if (!time) {
        return FailWrongValue(
            "an ISO 8601 time such as \"2005-03-01T12:00:00Z\" or \"1980-05-17\"");
      }
      return AddProperty(Property::OfTime(tag_, *time));
    }
    case PT_BINARY:
      if (token.kind != Kind::kString || !IsHexPairs(token.text)) {
        return FailWrongValue("a string of hexadecimal digit pairs");
      }
      return AddProperty(Property::WithoutValue(tag_));
    default:
      // A type nobody reads: any JSON value will do.
      if (IsStart(token)) {
        skip_depth_ = 1;
        state_ = State::kSkipValue;
        return true;
      }
      return AddProperty(Property::WithoutValue(tag_));
  }
}

bool DocumentBuilder::AcceptTextListItem(const JsonToken& token) {
  std::vector<TextSpan>& elements = document_.list_elements;
  if (token.kind == Kind::kEndArray) {
    if (PropertyTypeOf(tag_) != PT_MV_STRING8) {
      // Checked, and kept without its value.
      elements.resize(list_start_);
      return AddProperty(Property::WithoutValue(tag_));
    }
    const ListSpan list{static_cast<uint32_t>(list_start_),
                        static_cast<uint32_t>(elements.size() - list_start_)};
    return AddProperty(Property::OfTextList(tag_, list));
  }
  if (token.kind != Kind::kString) return FailWrongValue("an array of strings");
  elements.push_back(SpanOf(token.text));
  return true;
}

bool DocumentBuilder::AcceptSkippedPart(const JsonToken& token) {
  if (IsStart(token)) ++skip_depth_;
  if (IsEnd(token) && --skip_depth_ == 0) return AddProperty(Property::WithoutValue(tag_));
  return true;
}

bool DocumentBuilder::AcceptPropertyEnd(const JsonToken& token) {
  if (token.kind != Kind::kEndArray) {
    return FailInProperty("a property must be a [tag, value] pair; this one has more");
  }
  state_ = State::kPropertyStart;
  return true;
}

// The reader hands out texts inside the document's text, which ReadJsonTokens
// keeps under 2 GB.
TextSpan DocumentBuilder::SpanOf(std::string_view text) const {
  return TextSpan{static_cast<uint32_t>(text.data() - document_.text.data()),
                  static_cast<uint32_t>(text.size())};
}

bool DocumentBuilder::AddProperty(Property property) {
  properties_.push_back(property);
  state_ = State::kPropertyEnd;
  return true;
}

void DocumentBuilder::EndEntry() {
  MarkRepeatedTags(properties_);
  document_.entries.back().properties.assign(properties_.begin(), properties_.end());
}

bool DocumentBuilder::Fail(const std::string& what) {
  problem_ = what;
  return false;
}

bool DocumentBuilder::FailInEntry(const std::string& what) {
  return Fail("entry " + std::to_string(document_.entries.size()) + ": " + what);
}

bool DocumentBuilder::FailInProperty(const std::string& what) {
  return Fail("entry " + std::to_string(document_.entries.size()) + ", property " +
              std::to_string(property_number_) + ": " + what);
}

bool DocumentBuilder::FailWrongValue(const std::string& wanted) {
  return FailInProperty(std::string(tag_text_) + " wants " + wanted);
}

}  // namespace orvane::posix
