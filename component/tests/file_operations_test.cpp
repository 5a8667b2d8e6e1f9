#include "component/file_operations.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::FakeDisk;
using testing::FakeFileSystem;
using testing::Utf8CodePage;

TEST(StripTrailingSemicolonsTest, DropsOnlyTheRunAtTheEnd) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a;b;;;", u"a;b"}, {u";;;", u""}, {u"", u""}, {u"a;b", u"a;b"}, {u";a", u";a"},
      {u"N:Doe;John;;;", u"N:Doe;John"}};
  for (const auto& [input, expected] : cases) {
    std::u16string text = input;
    EXPECT_EQ(StripTrailingSemicolons(text), expected);
    EXPECT_EQ(text, expected) << "the caller's variable holds the stripped text";
  }
}

TEST(CutAtNulTest, KeepsWhatStandsBeforeTheFirstNul) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {std::u16string(u"\0abc", 4), u""},
      {u"abc", u"abc"},
      {std::u16string(u"ab\0c\0", 5), u"ab"},
      {u"", u""}};
  for (const auto& [input, expected] : cases) EXPECT_EQ(CutAtNul(input), expected);
}

class FileRoutinesTest : public ::testing::Test {
 protected:
  std::shared_ptr<FakeDisk> disk = std::make_shared<FakeDisk>();
  FakeFileSystem fs{disk};
  Utf8CodePage code_page;
};

TEST_F(FileRoutinesTest, AppendCreatesThenAddsAtTheEndWithOneCrLfEach) {
  disk->AddFolder(u"/out");
  AppendTextToFile(fs, code_page, u"/out/log.txt", u"first");
  EXPECT_EQ(disk->files[u"/out/log.txt"], "first\r\n");
  AppendTextToFile(fs, code_page, u"/out/log.txt", u"second\r\nline");
  AppendTextToFile(fs, code_page, u"/out/log.txt", u"");
  EXPECT_EQ(disk->files[u"/out/log.txt"], "first\r\nsecond\r\nline\r\n\r\n");
}

TEST_F(FileRoutinesTest, AppendPassesTheFailureOn) {
  try {
    AppendTextToFile(fs, code_page, u"/missing/log.txt", u"text");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), errors::kPathNotFound);
  }
}

TEST_F(FileRoutinesTest, DeleteFileIfExistsLeavesOthersAndIgnoresMissing) {
  disk->AddFolder(u"/out");
  disk->AddFile(u"/out/a", "a");
  disk->AddFile(u"/out/b", "b");
  DeleteFileIfExists(fs, u"/out/a");
  DeleteFileIfExists(fs, u"/out/missing");
  EXPECT_EQ(disk->List(u"/out"), std::vector<std::u16string>{u"b"});
}

TEST_F(FileRoutinesTest, DeleteFileIfExistsPassesAFailingDeleteOn) {
  disk->AddFolder(u"/out");
  disk->AddFile(u"/out/a", "a");
  disk->before = [](const std::string& operation, const std::u16string&) {
    if (operation == "DeleteFile") throw Error(errors::kPermissionDenied);
  };
  EXPECT_THROW(DeleteFileIfExists(fs, u"/out/a"), Error);
}

TEST_F(FileRoutinesTest, DeleteTempFolderRemovesTheTreeAndNeverFails) {
  disk->AddFolder(u"/app");
  disk->AddFolder(u"/app/tmp");
  disk->AddFolder(u"/app/tmp/inner");
  disk->AddFile(u"/app/tmp/inner/x.vcf", "x");
  DeleteTempFolder(fs, u"/app/tmp/");
  EXPECT_FALSE(disk->HasFolder(u"/app/tmp"));
  EXPECT_EQ(disk->files.size(), 0u);
  EXPECT_TRUE(disk->HasFolder(u"/app"));

  EXPECT_NO_THROW(DeleteTempFolder(fs, u"/app/tmp/"));  // missing: nothing happens
  disk->AddFolder(u"/app/tmp");
  disk->before = [](const std::string&, const std::u16string&) { throw Error(70); };
  EXPECT_NO_THROW(DeleteTempFolder(fs, u"/app/tmp/"));
  EXPECT_TRUE(disk->HasFolder(u"/app/tmp"));
}

TEST_F(FileRoutinesTest, DeleteTempFolderPassesThePathWithoutItsSeparator) {
  disk->AddFolder(u"/app/tmp");
  DeleteTempFolder(fs, u"/app/tmp/");
  EXPECT_EQ(disk->operations.back(), "Deletefolder /app/tmp");
}

}  // namespace
}  // namespace orvane
