#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane::cli {

// Why the files cannot be written in code page `number` ("unknown code page
// 1200 ..."); nothing when they can. A code page must be one this machine can
// convert, and it must keep ASCII as it is: cards, calendar files and logs are
// ASCII keywords around the values, so an EBCDIC code page would garble them.
std::optional<std::string> CodePageProblem(uint32_t number);

// The code page the locale gives now, as --code-page would name it.
uint32_t LocaleCodePage();

}  // namespace orvane::cli
