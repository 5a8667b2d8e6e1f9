#include "platform/posix/address_book/document_cache.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/posix/address_book/tests/test_support.h"

namespace orvane::posix {
namespace {

using testing::OneEntryDocument;
using testing::TemporaryFolder;

// The real files, with the number of full reads counted.
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

// A file that exists but cannot be read, as root cannot be refused by permission bits.
class RefusingReader : public AddressBookFileReader {
 public:
  std::optional<FileStamp> StampOf(const std::string&) override { return FileStamp{1, 2, 3, 4, 5}; }
  std::variant<FileContent, std::string> Read(const std::string&) override {
    return std::string("Permission denied");
  }
};

void SetModificationTime(const std::string& path, time_t seconds, long nanoseconds) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::u16string FirstDisplayName(const LoadedDocument& loaded) {
  return std::get<std::u16string>(loaded.document->entries.at(0).properties.at(0).value);
}

class DocumentCacheTest : public ::testing::Test {
 protected:
  std::string WriteBook(const std::string& display_name, const std::string& name = "book.json") {
    return folder_.Write(name, OneEntryDocument("[\"PR_DISPLAY_NAME\", \"" + display_name + "\"]"));
  }

  TemporaryFolder folder_;
  std::shared_ptr<CountingReader> reader_ = std::make_shared<CountingReader>();
  DocumentCache cache_{reader_};
};

TEST_F(DocumentCacheTest, ReusesTheDocumentWhileTheFileIsUnchanged) {
  const std::string path = WriteBook("Ann");
  const LoadedDocument first = cache_.Load(path);
  const LoadedDocument second = cache_.Load(path);
  ASSERT_NE(first.document, nullptr) << first.failure;
  EXPECT_EQ(second.document, first.document);
  EXPECT_EQ(reader_->reads, 1);
}

TEST_F(DocumentCacheTest, ReadsAgainWhenOnlyTheNanosecondsOfTheTimeChange) {
  const std::string path = WriteBook("Ann");
  SetModificationTime(path, 1'700'000'000, 100);
  ASSERT_NE(cache_.Load(path).document, nullptr);
  WriteBook("Bob");  // same size
  SetModificationTime(path, 1'700'000'000, 200);
  const LoadedDocument loaded = cache_.Load(path);
  ASSERT_NE(loaded.document, nullptr) << loaded.failure;
  EXPECT_EQ(FirstDisplayName(loaded), u"Bob");
  EXPECT_EQ(reader_->reads, 2);
}

TEST_F(DocumentCacheTest, ReadsAgainWhenTheSizeChanges) {
  const std::string path = WriteBook("Ann");
  SetModificationTime(path, 1'700'000'000, 0);
  ASSERT_NE(cache_.Load(path).document, nullptr);
  WriteBook("Annabel");
  SetModificationTime(path, 1'700'000'000, 0);
  EXPECT_EQ(FirstDisplayName(cache_.Load(path)), u"Annabel");
  EXPECT_EQ(reader_->reads, 2);
}

TEST_F(DocumentCacheTest, ReadsAgainWhenTheFileIsReplaced) {
  const std::string path = WriteBook("Ann");
  SetModificationTime(path, 1'700'000'000, 0);
  ASSERT_NE(cache_.Load(path).document, nullptr);
  const std::string other = WriteBook("Bob", "other.json");
  SetModificationTime(other, 1'700'000'000, 0);
  ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
  EXPECT_EQ(FirstDisplayName(cache_.Load(path)), u"Bob");
  EXPECT_EQ(reader_->reads, 2);
}

TEST_F(DocumentCacheTest, ReadsAnotherPathAnew) {
  const std::string first = WriteBook("Ann", "a.json");
  const std::string second = WriteBook("Bob", "b.json");
  EXPECT_EQ(FirstDisplayName(cache_.Load(first)), u"Ann");
  EXPECT_EQ(FirstDisplayName(cache_.Load(second)), u"Bob");
  EXPECT_EQ(FirstDisplayName(cache_.Load(first)), u"Ann");
  EXPECT_EQ(reader_->reads, 3);
}

TEST_F(DocumentCacheTest, KeepsTheVerdictOnAMalformedFileUntilItChanges) {
  const std::string path = folder_.Write("book.json", "{\"entries\": [\n7]}");
  SetModificationTime(path, 1'700'000'000, 0);
  const std::string expected =
      path + ": line 2: entry 1: an entry must be an object holding \"properties\"";
  EXPECT_EQ(cache_.Load(path).failure, expected);
  const LoadedDocument again = cache_.Load(path);
  EXPECT_EQ(again.document, nullptr);
  EXPECT_EQ(again.failure, expected);
  EXPECT_EQ(reader_->reads, 1);

  WriteBook("Fixed");
  const LoadedDocument fixed = cache_.Load(path);
  ASSERT_NE(fixed.document, nullptr) << fixed.failure;
  EXPECT_EQ(FirstDisplayName(fixed), u"Fixed");
}

TEST_F(DocumentCacheTest, ReportsAMissingFileAndFindsItOnceItExists) {
  const std::string path = folder_.path() + "/book.json";
  const LoadedDocument missing = cache_.Load(path);
  EXPECT_EQ(missing.document, nullptr);
  EXPECT_EQ(missing.failure, path + ": cannot read the file: No such file or directory");
  WriteBook("Ann");
  EXPECT_EQ(FirstDisplayName(cache_.Load(path)), u"Ann");
}

TEST_F(DocumentCacheTest, ReportsAFolderInPlaceOfTheFile) {
  const LoadedDocument loaded = cache_.Load(folder_.path());
  EXPECT_EQ(loaded.document, nullptr);
  EXPECT_EQ(loaded.failure, folder_.path() + ": cannot read the file: Is a directory");
}

TEST(DocumentCacheReaderTest, ReportsAFileThatCannotBeRead) {
  DocumentCache cache(std::make_shared<RefusingReader>());
  const LoadedDocument loaded = cache.Load("/books/locked.json");
  EXPECT_EQ(loaded.document, nullptr);
  EXPECT_EQ(loaded.failure, "/books/locked.json: cannot read the file: Permission denied");
}

}  // namespace
}  // namespace orvane::posix
