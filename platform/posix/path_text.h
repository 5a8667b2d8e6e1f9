#pragma once

#include <string>
#include <string_view>

namespace orvane::posix {

// Text rules for "/"-separated paths; none of them touches the disk.

// The path less any "/" at its end; "/" itself (or "//") stays "/".
std::string_view WithoutTrailingSeparators(std::string_view path);

bool EndsWithSeparator(std::string_view path);

// The folder part of a path, without a separator at its end except for the root:
//   "/a/b.txt" -> "/a"   "/a" -> "/"   "a/b/" -> "a"   "a//b" -> "a"
//   "a" -> ""   "a/" -> ""   "/" -> ""   "" -> ""
template <typename Char>
std::basic_string<Char> ParentFolderOf(std::basic_string_view<Char> path);

// The last name of a path, ignoring a "/" at its end: "/a/b.txt" -> "b.txt", "a/b/" -> "b".
std::string LastNameOf(std::string_view path);

}  // namespace orvane::posix
