#pragma once

#include <string>

namespace orvane::posix::testing {

// A fresh folder made with mkdtemp, removed with everything in it at the end.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // The folder, without "/" at its end.
  const std::string& path() const { return path_; }
  // path() + "/" + name, as UTF-16.
  std::u16string Path16(const std::string& name = {}) const;

  // Creates a file holding `bytes` (and the folders on the way to it).
  void WriteFile(const std::string& name, const std::string& bytes) const;
  // The bytes of a file; empty when it cannot be read.
  std::string ReadFile(const std::string& name) const;
  void MakeFolder(const std::string& name) const;
  // The names in a folder, sorted.
  std::string Listing(const std::string& name = {}) const;

 private:
  std::string path_;
};

}  // namespace orvane::posix::testing
