#include "hosts/cli/paths.h"

#include <filesystem>
#include <system_error>

#include "platform/error.h"

namespace orvane::cli {

std::string CurrentDirectory() {
  std::error_code failure;
  const std::filesystem::path here = std::filesystem::current_path(failure);
  if (failure) throw Error(errors::kPathNotFound);
  return here.string();
}

std::string AbsolutePath(const std::string& path, const std::string& current_directory) {
  const std::filesystem::path given(path);
  const std::filesystem::path whole =
      given.is_absolute() ? given : std::filesystem::path(current_directory) / given;
  return whole.lexically_normal().string();
}

LogLocation LocateLog(const std::string& log_name, const std::string& log_dir,
                      const std::string& current_directory) {
  const std::string folder = AbsolutePath(log_dir.empty() ? "." : log_dir, current_directory);
  const std::filesystem::path whole(AbsolutePath(log_name, folder));
  return LogLocation{whole.parent_path().string(), whole.filename().string()};
}

}  // namespace orvane::cli
