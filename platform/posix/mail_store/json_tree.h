#pragma once

#include <string>
#include <vector>

#include "platform/posix/address_book/json_token_reader.h"

namespace orvane::posix {

// A JSON value with the line it starts on, so that a reader of the whole tree
// can still say where a value it refuses stands. Its texts lie in the JSON
// text the tree was read from.
struct JsonNode {
  using Kind = JsonToken::Kind;
  Kind kind = Kind::kNull;  // objects are kStartObject, arrays kStartArray
  int line = 0;
  std::string_view key;  // the member's name, when the value is an object member
  int key_line = 0;  // and the line of that name
  std::optional<int64_t> integer;
  bool boolean = false;
  std::string_view text;          // strings: UTF-8
  std::vector<JsonNode> members;  // objects and arrays, in document order

  bool IsObject() const { return kind == Kind::kStartObject; }
  bool IsArray() const { return kind == Kind::kStartArray; }
};

// Builds a JsonNode tree from the tokens of a JSON reader (see ReadJsonTokens).
// It refuses only a name that appears twice in one object, and nesting too deep.
class JsonTreeBuilder {
 public:
  bool Accept(const JsonToken& token);
  const std::string& problem() const { return problem_; }
  JsonNode TakeRoot() { return std::move(root_); }

 private:
  JsonNode& Place(JsonNode node);

  JsonNode root_;
  // The objects and arrays still open, innermost last. A container only grows
  // while it is innermost, so the pointers to those around it stay valid.
  std::vector<JsonNode*> open_;
  std::string_view key_;
  int key_line_ = 0;
  std::string problem_;
};

}  // namespace orvane::posix
