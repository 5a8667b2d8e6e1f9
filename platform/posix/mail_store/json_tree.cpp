#include "platform/posix/mail_store/json_tree.h"

#include <algorithm>
#include <string>

namespace orvane::posix {
namespace {

// Deeper nesting is no store anybody writes; it would only make the tree's
// readers and its destruction recurse until the stack runs out.
constexpr size_t kDeepestNesting = 200;

}  // namespace

bool JsonTreeBuilder::Accept(const JsonToken& token) {
  using Kind = JsonToken::Kind;
  switch (token.kind) {
    case Kind::kKey: {
      const JsonNode& object = *open_.back();
      const bool seen =
          std::any_of(object.members.begin(), object.members.end(),
                      [&](const JsonNode& member) { return member.key == token.text; });
      if (seen) {
        problem_ = "\"" + std::string(token.text) + "\" appears twice";
        return false;
      }
      key_ = token.text;
      key_line_ = token.line;
      return true;
    }
    case Kind::kEndObject:
    case Kind::kEndArray:
      open_.pop_back();
      return true;
    default:
      break;
  }
  JsonNode node;
  node.kind = token.kind;
  node.line = token.line;
  node.integer = token.integer;
  node.boolean = token.boolean;
  node.text = token.text;
  const bool container = node.kind == Kind::kStartObject || node.kind == Kind::kStartArray;
  if (container && open_.size() >= kDeepestNesting) {
    problem_ = "objects and arrays nested more than " + std::to_string(kDeepestNesting) + " deep";
    return false;
  }
  JsonNode& placed = Place(std::move(node));
  if (container) open_.push_back(&placed);
  return true;
}

JsonNode& JsonTreeBuilder::Place(JsonNode node) {
  if (open_.empty()) {
    root_ = std::move(node);
    return root_;
  }
  JsonNode& container = *open_.back();
  if (container.IsObject()) {
    node.key = key_;
    node.key_line = key_line_;
    key_ = {};
  }
  container.members.push_back(std::move(node));
  return container.members.back();
}

}  // namespace orvane::posix
