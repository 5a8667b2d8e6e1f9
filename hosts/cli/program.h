#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

// The whole program: reads the arguments (without the program name), runs the
// command and returns the exit status. Output goes to `out` and `err`.
int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace orvane::cli
