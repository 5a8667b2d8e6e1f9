#pragma once

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/address_book/line_counting_input.h"

namespace orvane::posix {

// One event of a JSON reader, as a document grammar sees it.
struct JsonToken {
  enum class Kind {
    kNull, kBoolean, kInteger, kFloat, kString,
    kStartObject, kKey, kEndObject, kStartArray, kEndArray,
  };
  Kind kind = Kind::kNull;
  std::optional<int64_t> integer;  // kInteger: nothing when beyond 64 signed bits
  std::string text;                // kString and kKey: UTF-8
  bool boolean = false;            // kBoolean
  int line = 0;                    // where the token ends, counted from 1
};

namespace json_reading {

// The reader's own message starts "[json.exception...] parse error at line 3,
// column 5: "; keep the place and the cause.
inline std::string DescribeSyntaxError(const std::string& message, int line) {
  const size_t place = message.find("line ");
  const size_t cause = message.find(": ", place == std::string::npos ? 0 : place);
  if (place == std::string::npos || cause == std::string::npos) {
    return "line " + std::to_string(line) + ": not valid JSON: " + message;
  }
  return message.substr(place, cause - place) + ": not valid JSON: " + message.substr(cause + 2);
}

// Hands the JSON reader's events to a builder, noting the line of a refusal.
template <typename Builder>
class SaxToBuilder {
 public:
  using Kind = JsonToken::Kind;

  SaxToBuilder(Builder& builder, const LinePosition& position)
      : builder_(builder), position_(position) {}

  bool null() { return Forward(Token(Kind::kNull)); }
  bool boolean(bool value) {
    JsonToken token = Token(Kind::kBoolean);
    token.boolean = value;
    return Forward(std::move(token));
  }
  bool number_integer(int64_t value) {
    JsonToken token = Token(Kind::kInteger);
    token.integer = value;
    return Forward(std::move(token));
  }
  bool number_unsigned(uint64_t value) {
    JsonToken token = Token(Kind::kInteger);
    if (value <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      token.integer = static_cast<int64_t>(value);
    }
    return Forward(std::move(token));
  }
  bool number_float(double, const std::string&) { return Forward(Token(Kind::kFloat)); }
  bool string(std::string& value) { return Forward(Token(Kind::kString, std::move(value))); }
  // JSON text holds no binary values; the reader only produces them for other formats.
  bool binary(nlohmann::json::binary_t&) { return Forward(Token(Kind::kNull)); }
  bool start_object(size_t) { return Forward(Token(Kind::kStartObject)); }
  bool key(std::string& name) { return Forward(Token(Kind::kKey, std::move(name))); }
  bool end_object() { return Forward(Token(Kind::kEndObject)); }
  bool start_array(size_t) { return Forward(Token(Kind::kStartArray)); }
  bool end_array() { return Forward(Token(Kind::kEndArray)); }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception& error) {
    problem_ = DescribeSyntaxError(error.what(), position_.line());
    return false;
  }

  const std::string& problem() const { return problem_; }

 private:
  static JsonToken Token(Kind kind, std::string text = {}) {
    JsonToken token;
    token.kind = kind;
    token.text = std::move(text);
    return token;
  }

  bool Forward(JsonToken token) {
    token.line = position_.line();
    if (builder_.Accept(std::move(token))) return true;
    problem_ = "line " + std::to_string(position_.line()) + ": " + builder_.problem();
    return false;
  }

  Builder& builder_;
  const LinePosition& position_;
  std::string problem_;
};

}  // namespace json_reading

// Reads JSON `text` (UTF-8) token by token into `builder`, which answers
// `bool Accept(JsonToken)` and `problem()`. Empty when the whole text was
// accepted; else "line 3: " and what is wrong.
template <typename Builder>
std::string ReadJsonTokens(std::string_view text, Builder& builder) {
  LinePosition position;
  json_reading::SaxToBuilder<Builder> sax(builder, position);
  const LineCountingIterator first(text.data(), &position);
  const LineCountingIterator last(text.data() + text.size(), &position);
  if (nlohmann::json::sax_parse(first, last, &sax)) return {};
  return sax.problem();
}

}  // namespace orvane::posix
