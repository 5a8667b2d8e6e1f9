#include <iostream>
#include <string>
#include <vector>

#include "hosts/cli/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return orvane::cli::RunProgram(arguments, std::cout, std::cerr);
}
