#include "platform/posix/path_text.h"

namespace orvane::posix {
namespace {

template <typename Char>
std::basic_string_view<Char> StripTrailing(std::basic_string_view<Char> path) {
  const std::size_t last = path.find_last_not_of(Char('/'));
  if (last == std::basic_string_view<Char>::npos) return path.substr(0, path.empty() ? 0 : 1);
  return path.substr(0, last + 1);
}

}  // namespace

std::string_view WithoutTrailingSeparators(std::string_view path) { return StripTrailing(path); }

bool EndsWithSeparator(std::string_view path) { return !path.empty() && path.back() == '/'; }

template <typename Char>
std::basic_string<Char> ParentFolderOf(std::basic_string_view<Char> path) {
  const auto trimmed = StripTrailing(path);
  const std::size_t separator = trimmed.find_last_of(Char('/'));
  // A bare name, or the root itself, has no folder part.
  if (separator == std::basic_string_view<Char>::npos || trimmed.find_first_not_of(Char('/')) ==
                                                             std::basic_string_view<Char>::npos) {
    return {};
  }
  return std::basic_string<Char>(StripTrailing(trimmed.substr(0, separator + 1)));
}

template std::string ParentFolderOf<char>(std::string_view);
template std::u16string ParentFolderOf<char16_t>(std::u16string_view);

std::string LastNameOf(std::string_view path) {
  const std::string_view trimmed = StripTrailing(path);
  const std::size_t separator = trimmed.find_last_of('/');
  if (separator == std::string_view::npos) return std::string(trimmed);
  if (separator + 1 == trimmed.size()) return {};  // the root has no name
  return std::string(trimmed.substr(separator + 1));
}

}  // namespace orvane::posix
