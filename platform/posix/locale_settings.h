#pragma once

#include <functional>
#include <initializer_list>
#include <string>

namespace orvane::posix {

// Reads one locale variable of the environment (LC_ALL, LANG...); empty text
// when it is unset. Services take one of these so that tests never read the
// real environment.
using LocaleSettings = std::function<std::string(const char* name)>;

// The variables of this process.
LocaleSettings ProcessLocaleSettings();

// The first of the named variables that is set and not empty, as POSIX picks a
// locale for one category (LC_ALL, then the category, then LANG); empty when none is.
std::string FirstLocaleSetting(const LocaleSettings& settings,
                               std::initializer_list<const char*> names);

}  // namespace orvane::posix
