#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"
#include "platform/time_zone.h"

namespace orvane::posix::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& path() const { return path_; }
  // Writes `content` into the file `name` of the folder; returns the file's path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// Code page 1252 as far as tests need it: characters up to U+00FF are their own byte.
class Latin1CodePage : public CodePage {
 public:
  uint32_t Number() override { return 1252; }
  std::string FromUtf16(const std::u16string& text) override;
  std::u16string ToUtf16(const std::string& bytes) override;
};

// A code page that holds every character: UTF-8.
class Utf8CodePage : public CodePage {
 public:
  uint32_t Number() override { return 65001; }
  std::string FromUtf16(const std::u16string& text) override;
  std::u16string ToUtf16(const std::string& bytes) override;
};

class FakeTimeZone : public TimeZone {
 public:
  explicit FakeTimeZone(TimeZoneInformation zone = {}) : information(zone) {}
  TimeZoneInformation GetTimeZoneInformation() override { return information; }

  TimeZoneInformation information;
};

// Wraps properties into a whole address-book document with one entry each:
// Document({"[\"PR_GENDER\", 1]"}) is {"entries": [{"properties": [["PR_GENDER", 1]]}]}.
std::string OneEntryDocument(const std::string& properties);

// A table row's `name` as a test name: letters and digits, the rest "_".
std::string TestNameOf(const std::string& name);

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row) {
  return TestNameOf(row.param.name);
}

}  // namespace orvane::posix::testing
