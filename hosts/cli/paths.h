#pragma once

#include <string>

namespace orvane::cli {

// The current directory; throws orvane::Error when it cannot be read (removed).
std::string CurrentDirectory();

// `path` taken from `current_directory` when it is relative, with "." and ".."
// steps resolved as text. A "/" at its end stays, since the component reads a
// trailing separator as "this is a folder".
std::string AbsolutePath(const std::string& path, const std::string& current_directory);

// Where the run log goes: the component takes a folder and a bare file name.
struct LogLocation {
  std::string folder;
  std::string name;
  friend bool operator==(const LogLocation&, const LogLocation&) = default;
};

// `log_name` (which may hold folders of its own) inside `log_dir`, or inside the
// current directory when `log_dir` is empty.
LogLocation LocateLog(const std::string& log_name, const std::string& log_dir,
                      const std::string& current_directory);

}  // namespace orvane::cli
