#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace orvane::posix {

// Reads one environment variable; nothing when it is not set. Services take one
// of these so that tests never read the real environment.
using EnvironmentReader = std::function<std::optional<std::string>(const std::string& name)>;

// The variables of this process.
EnvironmentReader ProcessEnvironment();

// The variable's value; empty text when it is unset.
std::string ValueOf(const EnvironmentReader& environment, const std::string& name);

// The first of the named variables that is set and not empty, as POSIX picks a
// locale for one category (LC_ALL, then the category, then LANG); empty when none is.
std::string FirstSetVariable(const EnvironmentReader& environment,
                             std::initializer_list<const char*> names);

}  // namespace orvane::posix
