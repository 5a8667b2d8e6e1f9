#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>


#include "platform/error.h"
#include "platform/posix/tests/temporary_folder.h"
#include "platform/posix/tests/thrown_error.h"

namespace orvane::posix {
namespace {

using testing::TemporaryFolder;
using testing::ThrownErrorNumber;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  PosixFileSystem files_;
};

TEST_F(PosixFileSystemTest, FolderExistsExactlyForFolders) {
  folder_.MakeFolder("sub");
  folder_.WriteFile("file.txt", "x");
  const struct {
    std::u16string path;
    bool expected;
  } cases[] = {
      {folder_.Path16("sub"), true},       {folder_.Path16("sub/"), true},
      {folder_.Path16("file.txt"), false}, {folder_.Path16("file.txt/"), false},
      {folder_.Path16("missing"), false},  {u"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(files_.FolderExists(c.path), c.expected);
}

TEST_F(PosixFileSystemTest, FileExistsExactlyForFiles) {
  folder_.MakeFolder("sub");
  folder_.WriteFile("file.txt", "x");
  const struct {
    std::u16string path;
    bool expected;
  } cases[] = {
      {folder_.Path16("file.txt"), true},  {folder_.Path16("file.txt/"), false},
      {folder_.Path16("sub"), false},      {folder_.Path16("missing"), false},
      {u"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(files_.FileExists(c.path), c.expected);
}

TEST_F(PosixFileSystemTest, CreateFolderMakesOneLevel) {
  files_.CreateFolder(folder_.Path16("new/"));
  EXPECT_TRUE(files_.FolderExists(folder_.Path16("new")));

  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreateFolder(folder_.Path16("a/b/")); }), 76);
  EXPECT_FALSE(files_.FolderExists(folder_.Path16("a")));
  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreateFolder(folder_.Path16("new")); }), 58);
  folder_.WriteFile("taken", "x");
  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreateFolder(folder_.Path16("taken")); }), 58);
}

TEST_F(PosixFileSystemTest, PathsAreUtf8OnDisk) {
  const std::u16string sub = folder_.Path16() + u"/\u8CC7\u6599\u593E";
  files_.CreateFolder(sub);
  files_.AppendToFile(sub + u"/\u540D.txt", "x");
  EXPECT_EQ(folder_.ReadFile("\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE/\xE5\x90\x8D.txt"), "x");
  EXPECT_TRUE(files_.FileExists(sub + u"/\u540D.txt"));
}

TEST_F(PosixFileSystemTest, DeleteFileRemovesOnlyFiles) {
  folder_.WriteFile("file.txt", "x");
  folder_.MakeFolder("sub");
  files_.DeleteFile(folder_.Path16("file.txt"));
  EXPECT_FALSE(files_.FileExists(folder_.Path16("file.txt")));

  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(folder_.Path16("file.txt")); }), 53);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(folder_.Path16("none/file.txt")); }), 76);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(folder_.Path16("sub")); }), 53);
  EXPECT_TRUE(files_.FolderExists(folder_.Path16("sub")));
}

TEST_F(PosixFileSystemTest, DeletefolderRemovesTheWholeTree) {
  folder_.WriteFile("tree/a.txt", "a");
  folder_.WriteFile("tree/deep/er/b.txt", "b");
  folder_.MakeFolder("tree/empty");
  files_.Deletefolder(folder_.Path16("tree"));
  EXPECT_EQ(folder_.Listing(), "");

  folder_.WriteFile("slash/a.txt", "a");
  files_.Deletefolder(folder_.Path16("slash/"));
  EXPECT_EQ(folder_.Listing(), "");
}

TEST_F(PosixFileSystemTest, DeletefolderOfSomethingElseIsPathNotFound) {
  folder_.WriteFile("file.txt", "x");
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(folder_.Path16("missing")); }), 76);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(folder_.Path16("file.txt")); }), 76);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(u""); }), 76);
  EXPECT_EQ(folder_.ReadFile("file.txt"), "x");
}

TEST_F(PosixFileSystemTest, DeletefolderNeverFollowsLinks) {
  folder_.WriteFile("keep/precious.txt", "p");
  folder_.MakeFolder("tree");
  const std::string keep = folder_.path() + "/keep";
  ASSERT_EQ(::symlink(keep.c_str(), (folder_.path() + "/tree/link").c_str()), 0);
  ASSERT_EQ(::symlink(keep.c_str(), (folder_.path() + "/alias").c_str()), 0);

  files_.Deletefolder(folder_.Path16("tree"));
  files_.Deletefolder(folder_.Path16("alias/"));
  EXPECT_EQ(folder_.Listing(), "keep ");
  EXPECT_EQ(folder_.ReadFile("keep/precious.txt"), "p");
}

TEST_F(PosixFileSystemTest, CopyFileIntoAFolderKeepsTheName) {
  folder_.WriteFile("work/card1.vcf", "new card");
  folder_.WriteFile("out/card1.vcf", "old card");
  files_.CopyFile(folder_.Path16("work/card1.vcf"), folder_.Path16("out/"));
  EXPECT_EQ(folder_.ReadFile("out/card1.vcf"), "new card");
  EXPECT_EQ(folder_.ReadFile("work/card1.vcf"), "new card");
  EXPECT_EQ(folder_.Listing("out"), "card1.vcf ");
}

TEST_F(PosixFileSystemTest, CopyFileToAFilePathReplacesThatFile) {
  folder_.WriteFile("a.txt", std::string(200000, 'a'));
  folder_.WriteFile("b.txt", "old");
  files_.CopyFile(folder_.Path16("a.txt"), folder_.Path16("b.txt"));
  EXPECT_EQ(folder_.ReadFile("b.txt"), std::string(200000, 'a'));
  files_.CopyFile(folder_.Path16("a.txt"), folder_.Path16("c.txt"));
  EXPECT_EQ(folder_.Listing(), "a.txt b.txt c.txt ");
}

TEST_F(PosixFileSystemTest, CopyFileGivesTheCopyTheSourcePermissions) {
  folder_.WriteFile("a.txt", "a");
  ASSERT_EQ(::chmod((folder_.path() + "/a.txt").c_str(), 0640), 0);
  files_.CopyFile(folder_.Path16("a.txt"), folder_.Path16("b.txt"));
  struct stat status {};
  ASSERT_EQ(::stat((folder_.path() + "/b.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(PosixFileSystemTest, CopyFileFailures) {
  folder_.WriteFile("a.txt", "a");
  folder_.MakeFolder("sub");
  const auto copy = [&](const std::string& from, const std::string& to) {
    return ThrownErrorNumber([&] { files_.CopyFile(folder_.Path16(from), folder_.Path16(to)); });
  };
  EXPECT_EQ(copy("missing.txt", "sub/"), 53);
  EXPECT_EQ(copy("none/missing.txt", "sub/"), 53);
  EXPECT_EQ(copy("sub", "b.txt"), 53);
  EXPECT_EQ(copy("a.txt", "none/"), 76);
  EXPECT_EQ(copy("a.txt", "sub"), 75);  // a folder is no file path to replace
  EXPECT_EQ(folder_.Listing(), "a.txt sub ");
  EXPECT_EQ(folder_.Listing("sub"), "");
}

TEST_F(PosixFileSystemTest, GetParentFolderName) {
  EXPECT_EQ(files_.GetParentFolderName(u"/out/card.vcf"), u"/out");
  EXPECT_EQ(files_.GetParentFolderName(u"card.vcf"), u"");
  EXPECT_EQ(files_.GetParentFolderName(u"/a"), u"/");
}

TEST_F(PosixFileSystemTest, AppendToFileAddsAtTheEnd) {
  const std::u16string log = folder_.Path16("run.log");
  files_.AppendToFile(log, "first\r\n");
  files_.AppendToFile(log, "");
  files_.AppendToFile(log, "second\r\n");
  EXPECT_EQ(folder_.ReadFile("run.log"), "first\r\nsecond\r\n");

  files_.AppendToFile(folder_.Path16("empty.log"), "");
  EXPECT_TRUE(files_.FileExists(folder_.Path16("empty.log")));
}

TEST_F(PosixFileSystemTest, AppendToFileFailures) {
  folder_.MakeFolder("sub");
  EXPECT_EQ(ThrownErrorNumber([&] { files_.AppendToFile(folder_.Path16("none/x.log"), "x"); }), 76);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.AppendToFile(folder_.Path16("sub"), "x"); }), 75);
}

TEST_F(PosixFileSystemTest, PathWithNulNamesNothing) {
  folder_.WriteFile("a.txt", "a");
  folder_.MakeFolder("sub");
  const std::u16string cut_file = folder_.Path16("a.txt") + u'\0' + u"x";
  const std::u16string cut_folder = folder_.Path16("sub") + u'\0' + u"x";
  EXPECT_FALSE(files_.FileExists(cut_file));
  EXPECT_FALSE(files_.FolderExists(cut_folder));
  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(cut_file); }), 75);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(cut_folder); }), 75);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.AppendToFile(cut_file, "x"); }), 75);
  EXPECT_EQ(folder_.Listing(), "a.txt sub ");
  EXPECT_EQ(folder_.ReadFile("a.txt"), "a");
}

TEST(PosixFileSystemFactory, MakesAFreshObjectEachTime) {
  PosixFileSystemFactory factory;
  auto first = factory.CreateFileSystem();
  auto second = factory.CreateFileSystem();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_TRUE(first->FolderExists(u"/"));
}

}  // namespace
}  // namespace orvane::posix
