#pragma once

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ascii_text.h"
#include "platform/utf_character.h"
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
  // kString and kKey: UTF-8, escapes decoded, inside the text being read.
  std::string_view text;
  bool ascii = false;    // kString and kKey: every byte of `text` is ASCII
  bool boolean = false;  // kBoolean
  int line = 0;          // where the token ends, counted from 1
};

namespace json_reading {

// Texts this long would overflow the line numbers and the places of values.
inline constexpr size_t kLongestText = std::numeric_limits<int32_t>::max();

// "line 3, column 5: not valid JSON: " and the reader's words for the fault.
inline std::string DescribeSyntaxError(const LineCountingInput& input,
                                       rapidjson::ParseErrorCode code, size_t offset) {
  std::string words = rapidjson::GetParseError_En(code);
  if (!words.empty() && words.back() == '.') words.pop_back();
  if (!words.empty()) {
    words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
  }
  return "line " + std::to_string(input.line()) + ", column " +
         std::to_string(input.ColumnOf(offset)) + ": not valid JSON: " + words;
}

// Where the first byte of `text` that starts no UTF-8 character stands (a lone
// surrogate written as an escape comes out as such bytes); the end of `text`
// when there is none.
inline size_t InvalidUtf8At(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8CharacterAt(text, i).length;
    if (length == 0) return i;
    i += length;
  }
  return text.size();
}

// Hands the JSON reader's events to a builder, noting the line of a refusal.
template <typename Builder>
class SaxToBuilder {
 public:
  using Kind = JsonToken::Kind;
  using Ch = char;

  SaxToBuilder(Builder& builder, const LineCountingInput& input)
      : builder_(builder), input_(input) {}

  bool Null() { return Forward(Token(Kind::kNull)); }
  bool Bool(bool value) {
    JsonToken token = Token(Kind::kBoolean);
    token.boolean = value;
    return Forward(token);
  }
  bool Int(int value) { return Integer(value); }
  bool Int64(int64_t value) { return Integer(value); }
  bool Uint(unsigned value) { return Integer(value); }
  bool Uint64(uint64_t value) {
    JsonToken token = Token(Kind::kInteger);
    if (value <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      token.integer = static_cast<int64_t>(value);
    }
    return Forward(token);
  }
  bool Double(double) { return Forward(Token(Kind::kFloat)); }
  // Only asked for when numbers are read as text, which this reader never does.
  bool RawNumber(const Ch*, rapidjson::SizeType, bool) { return Forward(Token(Kind::kFloat)); }
  bool String(const Ch* text, rapidjson::SizeType length, bool) {
    return Text(Kind::kString, {text, length});
  }
  bool StartObject() { return Forward(Token(Kind::kStartObject)); }
  bool Key(const Ch* text, rapidjson::SizeType length, bool) {
    return Text(Kind::kKey, {text, length});
  }
  bool EndObject(rapidjson::SizeType) { return Forward(Token(Kind::kEndObject)); }
  bool StartArray() { return Forward(Token(Kind::kStartArray)); }
  bool EndArray(rapidjson::SizeType) { return Forward(Token(Kind::kEndArray)); }

  const std::string& problem() const { return problem_; }

 private:
  static JsonToken Token(Kind kind, std::string_view text = {}) {
    JsonToken token;
    token.kind = kind;
    token.text = text;
    return token;
  }

  // The reader copies strings as they are; their encoding is checked here, at
  // once for the ASCII that most are.
  bool Text(Kind kind, std::string_view text) {
    const bool ascii = IsAscii(text);
    if (!ascii) {
      if (const size_t bad = InvalidUtf8At(text); bad < text.size()) {
        // The place of the byte in the text read: exact unless an escape stands before it.
        problem_ = DescribeSyntaxError(input_, rapidjson::kParseErrorStringInvalidEncoding,
                                       input_.OffsetOf(text.data() + bad));
        return false;
      }
    }
    JsonToken token = Token(kind, text);
    token.ascii = ascii;
    return Forward(token);
  }

  bool Integer(int64_t value) {
    JsonToken token = Token(Kind::kInteger);
    token.integer = value;
    return Forward(token);
  }

  bool Forward(JsonToken token) {
    token.line = input_.line();
    if (builder_.Accept(token)) return true;
    problem_ = "line " + std::to_string(token.line) + ": " + builder_.problem();
    return false;
  }

  Builder& builder_;
  const LineCountingInput& input_;
  std::string problem_;
};

}  // namespace json_reading

// Reads JSON `text` (UTF-8) token by token into `builder`, which answers
// `bool Accept(const JsonToken&)` and `problem()`. The text is read in place:
// each string's characters are decoded over its escapes, and the texts of the
// tokens lie inside it. Empty when the whole text was accepted; else "line 3: "
// and what is wrong.
template <typename Builder>
std::string ReadJsonTokens(std::string& text, Builder& builder) {
  if (text.size() > json_reading::kLongestText) return "line 1: the file is larger than 2 GB";
  LineCountingInput input(text);
  json_reading::SaxToBuilder<Builder> sax(builder, input);
  rapidjson::Reader reader;
  // Iterative: no nesting, however deep, can exhaust the stack.
  constexpr unsigned kFlags = rapidjson::kParseInsituFlag | rapidjson::kParseIterativeFlag;
  const rapidjson::ParseResult result = reader.Parse<kFlags>(input, sax);
  if (result.Code() == rapidjson::kParseErrorTermination) return sax.problem();
  // Bytes outside strings that are no JSON are refused by the reader anyway.
  if (result.IsError()) {
    return json_reading::DescribeSyntaxError(input, result.Code(), result.Offset());
  }
  // The reader takes a NUL for the end of the text; one inside it is no JSON.
  if (input.Tell() != text.size()) {
    return "line " + std::to_string(input.line()) + ", column " +
           std::to_string(input.ColumnOf(input.Tell())) + ": not valid JSON: a NUL character";
  }
  return {};
}

}  // namespace orvane::posix
