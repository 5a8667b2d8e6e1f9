#pragma once

#include <string>

namespace orvane::testing {

// A fresh folder made with mkdtemp under the system's temporary folder, removed
// with everything in it at the end.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // The folder, without "/" at its end.
  const std::string& path() const { return path_; }
  // path() + "/" + name (just path() for no name), as UTF-16.
  std::u16string Path16(const std::string& name = {}) const;

  // Creates or replaces the file `name` (and the folders on the way to it)
  // holding `bytes`; returns the file's path. Throws when it cannot be written.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;
  // The bytes of a file; empty when it cannot be read.
  std::string ReadFile(const std::string& name) const;
  void MakeFolder(const std::string& name) const;
  // The names in a folder, sorted, each followed by a blank.
  std::string Listing(const std::string& name = {}) const;

 private:
  std::string path_;
};

}  // namespace orvane::testing
