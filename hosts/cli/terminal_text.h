#pragma once

#include <cstddef>
#include <string>

namespace orvane::cli {

// Text from the component (titles, messages) made safe for one line of a
// terminal, in UTF-8: line breaks and tabs become blanks, and other control
// characters, which could move the cursor or reprogram the terminal, become "?".
std::string OneLineText(const std::u16string& text);

// How many terminal columns a UTF-8 text takes: East Asian wide characters two,
// combining marks none, everything else one.
size_t ColumnsOf(const std::string& utf8);

// The longest start of a UTF-8 text that fits `columns`, ending in "..." when
// anything had to be cut; never splits a character.
std::string FitToColumns(const std::string& utf8, size_t columns);

}  // namespace orvane::cli
