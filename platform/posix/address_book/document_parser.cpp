#include "platform/posix/address_book/document_parser.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "platform/posix/address_book/document_builder.h"
#include "platform/posix/address_book/line_counting_input.h"

namespace orvane::posix {
namespace {

using Kind = JsonToken::Kind;

// The reader's own message starts "[json.exception...] parse error at line 3,
// column 5: "; keep the place and the cause.
std::string DescribeSyntaxError(const std::string& message, int line) {
  const size_t place = message.find("line ");
  const size_t cause = message.find(": ", place == std::string::npos ? 0 : place);
  if (place == std::string::npos || cause == std::string::npos) {
    return "line " + std::to_string(line) + ": not valid JSON: " + message;
  }
  return message.substr(place, cause - place) + ": not valid JSON: " + message.substr(cause + 2);
}

// Hands the JSON reader's events to the builder, noting the line of a refusal.
class SaxToBuilder {
 public:
  SaxToBuilder(DocumentBuilder& builder, const LinePosition& position)
      : builder_(builder), position_(position) {}

  bool null() { return Forward({Kind::kNull, {}, {}}); }
  bool boolean(bool) { return Forward({Kind::kBoolean, {}, {}}); }
  bool number_integer(int64_t value) { return Forward({Kind::kInteger, value, {}}); }
  bool number_unsigned(uint64_t value) {
    std::optional<int64_t> integer;
    if (value <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      integer = static_cast<int64_t>(value);
    }
    return Forward({Kind::kInteger, integer, {}});
  }
  bool number_float(double, const std::string&) { return Forward({Kind::kFloat, {}, {}}); }
  bool string(std::string& value) { return Forward({Kind::kString, {}, std::move(value)}); }
  // JSON text holds no binary values; the reader only produces them for other formats.
  bool binary(nlohmann::json::binary_t&) { return Forward({Kind::kNull, {}, {}}); }
  bool start_object(size_t) { return Forward({Kind::kStartObject, {}, {}}); }
  bool key(std::string& name) { return Forward({Kind::kKey, {}, std::move(name)}); }
  bool end_object() { return Forward({Kind::kEndObject, {}, {}}); }
  bool start_array(size_t) { return Forward({Kind::kStartArray, {}, {}}); }
  bool end_array() { return Forward({Kind::kEndArray, {}, {}}); }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception& error) {
    problem_ = DescribeSyntaxError(error.what(), position_.line());
    return false;
  }

  const std::string& problem() const { return problem_; }

 private:
  bool Forward(JsonToken token) {
    if (builder_.Accept(std::move(token))) return true;
    problem_ = "line " + std::to_string(position_.line()) + ": " + builder_.problem();
    return false;
  }

  DocumentBuilder& builder_;
  const LinePosition& position_;
  std::string problem_;
};

}  // namespace

ParseResult ParseAddressBook(std::string_view text) {
  DocumentBuilder builder;
  LinePosition position;
  SaxToBuilder sax(builder, position);
  const LineCountingIterator first(text.data(), &position);
  const LineCountingIterator last(text.data() + text.size(), &position);
  if (!nlohmann::json::sax_parse(first, last, &sax)) return {nullptr, sax.problem()};
  return {std::make_shared<const AddressBookDocument>(builder.TakeDocument()), {}};
}

}  // namespace orvane::posix
