#include "hosts/cli/export_type_names.h"

#include <array>
#include <charconv>

namespace orvane::cli {
namespace {

struct NamedType {
  std::string_view name;
  int16_t type;
  std::string_view source;
};

constexpr std::array kNamedTypes = {
    NamedType{"outlook-contacts", 1, "the contacts folder"},
    NamedType{"outlook-calendar", 2, "the calendar"},
    NamedType{"address-book", 3, "the address book"},
};

}  // namespace

std::optional<int16_t> SmallIntegerFromText(std::string_view text) {
  // from_chars takes no "+"; a leading "+" is no number here either.
  int16_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value, 10);
  if (text.empty() || failure != std::errc{} || stop != end) return std::nullopt;
  return value;
}

std::optional<int16_t> ExportTypeFromText(std::string_view text) {
  for (const NamedType& named : kNamedTypes) {
    if (named.name == text) return named.type;
  }
  return SmallIntegerFromText(text);
}

std::string_view ExportTypeName(int16_t type) {
  for (const NamedType& named : kNamedTypes) {
    if (named.type == type) return named.name;
  }
  return {};
}

std::string SourceNoun(int16_t type) {
  for (const NamedType& named : kNamedTypes) {
    if (named.type == type) return std::string(named.source);
  }
  return "the source";
}

bool IsKnownExportType(int16_t type) { return !ExportTypeName(type).empty(); }

}  // namespace orvane::cli
