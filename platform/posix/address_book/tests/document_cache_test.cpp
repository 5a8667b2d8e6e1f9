#include "platform/posix/address_book/document_cache.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

// The real files, with the full reads counted.
class CountingReader : public AddressBookFileReader {
 public:
  std::optional<FileStamp> StampOf(const std::string& path) override {
    return real_->StampOf(path);
  }
  std::variant<FileContent, std::string> Read(const std::string& path) override {
    ++reads;
    return real_->Read(path);
  }
  int reads = 0;

 private:
  std::shared_ptr<AddressBookFileReader> real_ = MakePosixFileReader();
};

class DocumentCacheTest : public ::testing::Test {
 protected:
  // An address book of one entry named `name`, its time set to the same second each time.
  std::string WriteBook(const std::string& name, const std::string& file = "book.json",
                        long nanoseconds = 0) {
    const std::string path = folder_.WriteFile(
        file, R"({"entries": [{"properties": [["PR_SURNAME", ")" + name + "\"]]}]}");
    const timespec times[2] = {{1'700'000'000, nanoseconds}, {1'700'000'000, nanoseconds}};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return path;
  }

  std::u16string NameIn(const std::string& path) {
    const LoadedDocument loaded = cache_.Load(path);
    if (!loaded.document) return u"<none>";
    return std::get<std::u16string>(loaded.document->entries.at(0).properties.at(0).value);
  }

  orvane::testing::TemporaryFolder folder_;
  std::shared_ptr<CountingReader> reader_ = std::make_shared<CountingReader>();
  DocumentCache cache_{reader_};
};

TEST_F(DocumentCacheTest, ReusesTheDocumentUntilTheFileChangesInAnyWay) {
  const std::string path = WriteBook("Ann");
  const SharedDocument first = cache_.Load(path).document;
  EXPECT_EQ(cache_.Load(path).document, first);
  EXPECT_EQ(reader_->reads, 1);
  // Each change leaves a book named "Bob..." where the next load looks.
  const std::pair<const char*, std::function<std::string()>> changes[] = {
      {"only the nanoseconds", [&] { return WriteBook("Bob", "book.json", 1); }},
      {"only the size", [&] { return WriteBook("Bobby"); }},
      {"another file", [&] { return WriteBook("Bob", "other.json"); }},
      {"replaced, same size and time", [&] {
         EXPECT_EQ(std::rename(WriteBook("Bob", "new.json").c_str(), path.c_str()), 0);
         return path;
       }},
  };
  for (const auto& [change, next] : changes) {
    ASSERT_EQ(NameIn(WriteBook("Ann")), u"Ann");
    const int reads = reader_->reads;
    EXPECT_EQ(NameIn(next()).substr(0, 3), u"Bob") << change;
    EXPECT_EQ(reader_->reads, reads + 1) << change;
  }
}

TEST_F(DocumentCacheTest, KeepsTheVerdictOnAMalformedFileUntilItChanges) {
  const std::string path = folder_.WriteFile("book.json", "{\"entries\": [\n7]}");
  for (int round = 0; round < 2; ++round) {
    const LoadedDocument loaded = cache_.Load(path);
    EXPECT_EQ(loaded.document, nullptr);
    EXPECT_EQ(loaded.failure,
              path + ": line 2: entry 1: an entry must be an object holding \"properties\"");
  }
  EXPECT_EQ(reader_->reads, 1);
  EXPECT_EQ(NameIn(WriteBook("Fixed")), u"Fixed");
}

TEST_F(DocumentCacheTest, GivesTheReasonAFileCannotBeReadAndFindsItOnceItExists) {
  const std::string path = folder_.path() + "/book.json";
  EXPECT_EQ(cache_.Load(path).failure, path + ": cannot read the file: No such file or directory");
  EXPECT_EQ(cache_.Load(folder_.path()).failure,
            folder_.path() + ": cannot read the file: Is a directory");
  EXPECT_EQ(NameIn(WriteBook("Ann")), u"Ann");
}

}  // namespace
}  // namespace orvane::posix
