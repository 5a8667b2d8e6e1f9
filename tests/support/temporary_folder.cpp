#include "tests/support/temporary_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace orvane::testing {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "orvane-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::u16string TemporaryFolder::Path16(const std::string& name) const {
  const std::string full = name.empty() ? path_ : path_ + "/" + name;
  return fs::path(full).u16string();
}

std::string TemporaryFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  const fs::path file = fs::path(path_) / name;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
  return file.string();
}

std::string TemporaryFolder::ReadFile(const std::string& name) const {
  std::ifstream in(fs::path(path_) / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TemporaryFolder::MakeFolder(const std::string& name) const {
  fs::create_directories(fs::path(path_) / name);
}

std::string TemporaryFolder::Listing(const std::string& name) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(path_) / name)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const auto& entry : names) text += entry + ' ';
  return text;
}

}  // namespace orvane::testing
