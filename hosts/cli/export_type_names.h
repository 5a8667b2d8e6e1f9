#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::cli {

// The export type a command-line word names: "1", "2", "3", any other number
// that fits the component's 16 bits (passed through untouched), or one of the
// names "outlook-contacts", "outlook-calendar", "address-book".
// Nothing for any other word.
std::optional<int16_t> ExportTypeFromText(std::string_view text);

// The name of a known type ("address-book"); empty for any other number.
std::string_view ExportTypeName(int16_t type);

// What the items of a type are kept in, for messages: "the address book";
// "the source" for any other number.
std::string SourceNoun(int16_t type);

// True for the types that have a source: 1, 2 and 3.
bool IsKnownExportType(int16_t type);

// A decimal number that fits 16 signed bits ("-3", "42"); nothing otherwise.
std::optional<int16_t> SmallIntegerFromText(std::string_view text);

}  // namespace orvane::cli
