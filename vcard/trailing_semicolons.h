#pragma once

#include <string>

namespace orvane {

// Drops every ";" at the end of `text`; returns the stripped text as well
// (the caller's own, not a copy).
const std::u16string& StripTrailingSemicolons(std::u16string& text);

}  // namespace orvane
