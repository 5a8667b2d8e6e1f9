#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane::posix {

inline int32_t PropertyTypeOf(int32_t tag) { return tag & 0xFFFF; }

// The tag a property is written with in the address-book file: a published
// MAPI name ("PR_DISPLAY_NAME", with the _A and _W forms of the text tags) or
// a hexadecimal tag ("0x3001001E"). Nothing for an unknown name, a malformed
// number, or the tag 0, which cannot be told from "no tag".
std::optional<int32_t> TagFromText(std::string_view text);

}  // namespace orvane::posix
