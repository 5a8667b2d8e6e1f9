#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/tests/test_helpers.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

using namespace std::string_literals;
using testing::ThrownErrorNumber;

enum class Call { kCreateFolder, kDeleteFile, kDeletefolder, kCopyFile, kAppendToFile };

class PosixFileSystemTest : public ::testing::Test {
 protected:
  // A name inside the folder; an empty name stays the empty path.
  std::u16string In(const std::u16string& name) const {
    return name.empty() ? name : folder_.Path16() + u"/" + name;
  }

  void Run(Call call, const std::u16string& path, const std::u16string& to) {
    switch (call) {
      case Call::kCreateFolder: return files_.CreateFolder(In(path));
      case Call::kDeleteFile: return files_.DeleteFile(In(path));
      case Call::kDeletefolder: return files_.Deletefolder(In(path));
      case Call::kCopyFile: return files_.CopyFile(In(path), In(to));
      case Call::kAppendToFile: return files_.AppendToFile(In(path), "x");
    }
  }

  orvane::testing::TemporaryFolder folder_;
  PosixFileSystem files_;
};

TEST_F(PosixFileSystemTest, ExistsExactlyForItsKindTable) {
  folder_.MakeFolder("sub");
  folder_.WriteFile("a.txt", "a");
  const struct { std::u16string name; bool folder, file; } cases[] = {
      {u"sub", true, false},
      {u"sub/", true, false},
      {u"a.txt", false, true},
      {u"a.txt/", false, false},
      {u"missing", false, false},
      {u"", false, false},
      {u"sub\0x"s, false, false},  // a NUL would cut the path short at the system
      {u"a.txt\0x"s, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(files_.FolderExists(In(c.name)), c.folder);
    EXPECT_EQ(files_.FileExists(In(c.name)), c.file);
  }
}

// Each failing call reports its number and leaves the folder as it was.
TEST_F(PosixFileSystemTest, FailuresTable) {
  folder_.MakeFolder("sub");
  folder_.WriteFile("a.txt", "a");
  const struct { Call call; std::u16string path, to; int32_t expected; } cases[] = {
      {Call::kCreateFolder, u"x/y/", u"", 76},  // the parent is never made on the way
      {Call::kCreateFolder, u"sub", u"", 58},
      {Call::kCreateFolder, u"a.txt", u"", 58},
      {Call::kDeleteFile, u"missing.txt", u"", 53},
      {Call::kDeleteFile, u"none/a.txt", u"", 76},
      {Call::kDeleteFile, u"sub", u"", 53},
      {Call::kDeleteFile, u"a.txt\0x"s, u"", 75},
      {Call::kDeletefolder, u"missing", u"", 76},
      {Call::kDeletefolder, u"a.txt", u"", 76},
      {Call::kDeletefolder, u"", u"", 76},
      {Call::kDeletefolder, u"sub\0x"s, u"", 75},
      {Call::kCopyFile, u"missing.txt", u"sub/", 53},
      {Call::kCopyFile, u"none/missing.txt", u"sub/", 53},
      {Call::kCopyFile, u"sub", u"b.txt", 53},
      {Call::kCopyFile, u"a.txt", u"none/", 76},
      {Call::kCopyFile, u"a.txt", u"sub", 75},  // a folder is no file path to replace
      {Call::kCopyFile, u"a.txt", u"", 76},
      {Call::kAppendToFile, u"none/x.log", u"", 76},
      {Call::kAppendToFile, u"sub", u"", 75},
      {Call::kAppendToFile, u"a.txt\0x"s, u"", 75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(ThrownErrorNumber([&] { Run(c.call, c.path, c.to); }), c.expected);
  }
  EXPECT_EQ(folder_.Listing(), "a.txt sub ");
  EXPECT_EQ(folder_.Listing("sub"), "");
  EXPECT_EQ(folder_.ReadFile("a.txt"), "a");
}

TEST_F(PosixFileSystemTest, CreatesOneFolderAndDeletesFilesByUtf8Paths) {
  const std::u16string sub = folder_.Path16() + u"/\u8CC7\u6599\u593E";
  files_.CreateFolder(sub + u"/");
  files_.AppendToFile(sub + u"/\u540D.txt", "x");
  EXPECT_EQ(folder_.ReadFile("\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE/\xE5\x90\x8D.txt"), "x");
  files_.DeleteFile(sub + u"/\u540D.txt");
  EXPECT_EQ(folder_.Listing("\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE"), "");
}

TEST_F(PosixFileSystemTest, DeletefolderRemovesTheWholeTreeButNeverFollowsLinks) {
  folder_.WriteFile("tree/a.txt", "a");
  folder_.WriteFile("tree/deep/er/b.txt", "b");
  folder_.MakeFolder("tree/empty");
  folder_.WriteFile("keep/precious.txt", "p");
  const std::string keep = folder_.path() + "/keep";
  ASSERT_EQ(::symlink(keep.c_str(), (folder_.path() + "/tree/link").c_str()), 0);
  ASSERT_EQ(::symlink(keep.c_str(), (folder_.path() + "/alias").c_str()), 0);
  files_.Deletefolder(folder_.Path16("tree"));
  files_.Deletefolder(folder_.Path16("alias/"));
  EXPECT_EQ(folder_.Listing(), "keep ");
  EXPECT_EQ(folder_.ReadFile("keep/precious.txt"), "p");
}

// Into a folder path the copy takes the source's name; a file path names it.
TEST_F(PosixFileSystemTest, CopyFileReplacesTheTargetWithTheSourcesBytesAndMode) {
  const std::string card(200000, 'c');
  folder_.WriteFile("work/card.vcf", card);
  folder_.WriteFile("out/card.vcf", "old card");
  folder_.WriteFile("b.txt", "old");
  ASSERT_EQ(::chmod((folder_.path() + "/work/card.vcf").c_str(), 0640), 0);
  files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("out/"));
  files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("b.txt"));
  files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("c.txt"));
  for (const char* copy : {"out/card.vcf", "b.txt", "c.txt", "work/card.vcf"}) {
    EXPECT_EQ(folder_.ReadFile(copy), card) << copy;
  }
  EXPECT_EQ(folder_.Listing("out"), "card.vcf ");
  struct stat status {};
  ASSERT_EQ(::stat((folder_.path() + "/out/card.vcf").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(PosixFileSystemTest, AppendToFileAddsAtTheEndAndCreatesTheFile) {
  const std::u16string log = folder_.Path16("run.log");
  files_.AppendToFile(log, "first\r\n");
  files_.AppendToFile(log, "");
  files_.AppendToFile(log, "second\r\n");
  files_.AppendToFile(folder_.Path16("empty.log"), "");
  EXPECT_EQ(folder_.ReadFile("run.log"), "first\r\nsecond\r\n");
  EXPECT_EQ(folder_.Listing(), "empty.log run.log ");
}

TEST(PosixFileSystem, GetParentFolderNameTable) {
  const struct { std::u16string path, expected; } cases[] = {
      {u"/out/card.vcf", u"/out"},
      {u"/a", u"/"},
      {u"a/b/", u"a"},
      {u"a//b", u"a"},
      {u"//a", u"/"},
      {u"card.vcf", u""},
      {u"a/", u""},
      {u"/", u""},
      {u"//", u""},
      {u"", u""},
      {u"./a", u"."},
      {u"/x/y/z/", u"/x/y"},
      {u"\u8CC7/\u6599", u"\u8CC7"},
  };
  PosixFileSystem files;
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(files.GetParentFolderName(c.path), c.expected);
  }
}

TEST(PosixFileSystemFactory, MakesAFreshObjectEachTime) {
  PosixFileSystemFactory factory;
  const auto first = factory.CreateFileSystem();
  EXPECT_NE(first.get(), factory.CreateFileSystem().get());
  EXPECT_TRUE(first->FolderExists(u"/"));
}

}  // namespace
}  // namespace orvane::posix
