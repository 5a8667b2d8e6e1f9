#pragma once

#include <string>
#include <string_view>

namespace orvane::cli {

// The program's edge: command lines and terminals speak UTF-8, the component UTF-16.
std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view text);

}  // namespace orvane::cli
