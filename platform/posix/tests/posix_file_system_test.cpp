#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <map>

#include "platform/error.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/text_conversion.h"
#include "platform/posix/tests/test_helpers.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

using namespace std::string_literals;
using testing::ThrownErrorNumber;

// Every reason the system gives has its number and the text that goes with it.
TEST(ErrorMapping, OperatingSystemErrorsTable) {
  const struct { int os_error; MissingPath missing; int32_t expected; std::u16string text; }
      cases[] = {
          {ENOENT, MissingPath::kFile, 53, u"File not found"},
          {ENOENT, MissingPath::kFolder, 76, u"Path not found"},
          {ENOTDIR, MissingPath::kFile, 76, u"Path not found"},
          {ELOOP, MissingPath::kFile, 76, u"Path not found"},
          {ENAMETOOLONG, MissingPath::kFile, 76, u"Path not found"},
          {EEXIST, MissingPath::kFolder, 58, u"File already exists"},
          {ENOSPC, MissingPath::kFile, 61, u"Disk full"},
          {EDQUOT, MissingPath::kFile, 61, u"Disk full"},
          {EFBIG, MissingPath::kFile, 61, u"Disk full"},
          {EACCES, MissingPath::kFile, 70, u"Permission denied"},
          {EPERM, MissingPath::kFile, 70, u"Permission denied"},
          {EROFS, MissingPath::kFile, 70, u"Permission denied"},
          {ENOMEM, MissingPath::kFile, 7, u"Out of memory"},
          // Every reason not named above, as these.
          {EIO, MissingPath::kFile, 75, u"Path/File access error"},
          {EISDIR, MissingPath::kFile, 75, u"Path/File access error"},
          {EXDEV, MissingPath::kFile, 75, u"Path/File access error"},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.os_error);
    EXPECT_EQ(ErrorNumberFromErrno(c.os_error, c.missing), c.expected);
    try {
      ThrowForErrno(c.os_error, c.missing);
      ADD_FAILURE() << "nothing thrown";
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), c.expected);
      EXPECT_EQ(error.description(), c.text);
    }
  }
}

// The real calls, except those told to fail: a full disk, or a denied call while
// running as root, cannot be had on demand.
class FailingCalls : public SystemCalls {
 public:
  std::size_t bytes_until_full = std::numeric_limits<std::size_t>::max();
  int remove_file_error = 0, rename_error = 0, link_status_error = 0, writable_error = 0,
      status_error = 0, read_error = 0, no_replace_error = 0;

  int Write(int fd, const char* bytes, std::size_t size, std::size_t& count) override {
    if (bytes_until_full == 0) return ENOSPC;
    const int error = SystemCalls::Write(fd, bytes, std::min(size, bytes_until_full), count);
    bytes_until_full -= count;
    return error;
  }
  int Read(int fd, char* buffer, std::size_t size, std::size_t& count) override {
    return read_error ? read_error : SystemCalls::Read(fd, buffer, size, count);
  }
  int RemoveFile(const std::string& path) override {
    return remove_file_error ? remove_file_error : SystemCalls::RemoveFile(path);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return rename_error ? rename_error : SystemCalls::Rename(from, to);
  }
  int RenameWithoutReplacing(const std::string& from, const std::string& to) override {
    return no_replace_error ? no_replace_error : SystemCalls::RenameWithoutReplacing(from, to);
  }
  int Status(const std::string& path, struct stat& out) override {
    return status_error ? status_error : SystemCalls::Status(path, out);
  }
  // Root may write anything, so a protected file is only had this way.
  int CheckWritable(const std::string& path) override {
    return writable_error ? writable_error : SystemCalls::CheckWritable(path);
  }
  int LinkStatus(const std::string& path, struct stat& out) override {
    return link_status_error ? link_status_error : SystemCalls::LinkStatus(path, out);
  }
};

enum class Call {
  kCreateFolder, kDeleteFile, kDeletefolder, kCopyFile, kAppendToFile, kReplaceWithNewFile,
  kReadFileBytes
};

class PosixFileSystemTest : public ::testing::Test {
 protected:
  // A name inside the folder; an empty or absolute path stays as it is.
  std::u16string In(const std::u16string& name) const {
    return name.empty() || name[0] == u'/' ? name : folder_.Path16() + u"/" + name;
  }

  void Run(Call call, const std::u16string& path, const std::u16string& to) {
    switch (call) {
      case Call::kCreateFolder: return files_.CreateFolder(In(path));
      case Call::kDeleteFile: return files_.DeleteFile(In(path));
      case Call::kDeletefolder: return files_.Deletefolder(In(path));
      case Call::kCopyFile: return files_.CopyFile(In(path), In(to));
      case Call::kAppendToFile: return files_.AppendToFile(In(path), "x");
      case Call::kReplaceWithNewFile: return files_.ReplaceWithNewFile(In(path), "x");
      case Call::kReadFileBytes: files_.ReadFileBytes(In(path)); return;
    }
  }

  orvane::testing::TemporaryFolder folder_;
  std::shared_ptr<FailingCalls> calls_ = std::make_shared<FailingCalls>();
  PosixFileSystem files_{calls_};
};

TEST_F(PosixFileSystemTest, ExistsExactlyForItsKindTable) {
  folder_.MakeFolder("sub");
  folder_.WriteFile("a.txt", "a");
  const struct { std::u16string name; bool folder, file; } cases[] = {
      {u"sub", true, false},
      {u"sub/", true, false},
      {u"a.txt", false, true},
      {u"sub\0x"s, false, false},  // a NUL would cut the path short at the system
      {u"a.txt\0x"s, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(files_.FolderExists(In(c.name)), c.folder);
    EXPECT_EQ(files_.FileExists(In(c.name)), c.file);
  }
}

// "Not there" only when the system says so; a test it cannot answer is an error,
// so that no caller skips a file that is there.
TEST_F(PosixFileSystemTest, ExistenceTestsThatTheSystemCannotAnswerFailTable) {
  folder_.WriteFile("a.txt", "a");
  const struct { int os_error; int32_t expected; } cases[] = {
      {ENOENT, 0}, {ENOTDIR, 0}, {ENAMETOOLONG, 0}, {EACCES, 70}, {EIO, 75}, {ENOMEM, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.os_error);
    calls_->status_error = c.os_error;
    EXPECT_EQ(ThrownErrorNumber([&] { EXPECT_FALSE(files_.FileExists(In(u"a.txt"))); }),
              c.expected);
    EXPECT_EQ(ThrownErrorNumber([&] { EXPECT_FALSE(files_.FolderExists(folder_.Path16())); }),
              c.expected);
  }
}

// Each failing call reports its number and leaves the folder as it was.
TEST_F(PosixFileSystemTest, FailuresTable) {
  folder_.WriteFile("sub/a.txt", "old");
  folder_.WriteFile("a.txt", "a");
  using Injected = int FailingCalls::*;
  const struct { Call call; std::u16string path, to; int32_t expected;
                 Injected injected; int os_error; } cases[] = {
      {Call::kCreateFolder, u"x/y/", u"", 76, nullptr, 0},  // the parent is never made
      {Call::kCreateFolder, u"sub", u"", 58, nullptr, 0},
      {Call::kDeleteFile, u"missing.txt", u"", 53, nullptr, 0},
      {Call::kDeleteFile, u"none/a.txt", u"", 76, nullptr, 0},
      {Call::kDeleteFile, u"sub", u"", 53, nullptr, 0},
      {Call::kDeleteFile, u"a.txt\0x"s, u"", 75, nullptr, 0},
      {Call::kDeleteFile, u"a.txt", u"", 70, &FailingCalls::remove_file_error, EPERM},
      // A file the user protected is neither deleted nor replaced.
      {Call::kDeleteFile, u"a.txt", u"", 70, &FailingCalls::writable_error, EACCES},
      {Call::kDeleteFile, u"a.txt", u"", 70, &FailingCalls::writable_error, EROFS},
      {Call::kCopyFile, u"a.txt", u"sub/", 70, &FailingCalls::writable_error, EACCES},
      {Call::kDeletefolder, u"a.txt", u"", 76, nullptr, 0},
      {Call::kDeletefolder, u"", u"", 76, nullptr, 0},
      {Call::kDeletefolder, u"sub", u"", 75, &FailingCalls::remove_file_error, EBUSY},
      // The root and ".." are refused before any call is made, which would show as 61.
      {Call::kDeletefolder, u"/", u"", 70, &FailingCalls::link_status_error, ENOSPC},
      {Call::kDeletefolder, u"/tmp/..", u"", 75, &FailingCalls::link_status_error, ENOSPC},
      {Call::kDeletefolder, u"sub", u"", 61, &FailingCalls::link_status_error, ENOSPC},
      {Call::kCopyFile, u"missing.txt", u"sub/", 53, nullptr, 0},
      {Call::kCopyFile, u"a.txt", u"none/", 76, nullptr, 0},
      {Call::kCopyFile, u"a.txt", u"sub/", 70, &FailingCalls::rename_error, EACCES},
      {Call::kAppendToFile, u"none/x.log", u"", 76, nullptr, 0},
      {Call::kReplaceWithNewFile, u"none/x.log", u"", 76, nullptr, 0},
      {Call::kReplaceWithNewFile, u"sub", u"", 75, nullptr, 0},
      {Call::kReplaceWithNewFile, u"a.txt", u"", 70, &FailingCalls::writable_error, EACCES},
      {Call::kReadFileBytes, u"missing.txt", u"", 53, nullptr, 0},
      {Call::kReadFileBytes, u"none/a.txt", u"", 76, nullptr, 0},
      {Call::kReadFileBytes, u"sub", u"", 53, nullptr, 0},
      {Call::kReadFileBytes, u"a.txt", u"", 75, &FailingCalls::read_error, EIO},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    if (c.injected) (*calls_).*c.injected = c.os_error;
    EXPECT_EQ(ThrownErrorNumber([&] { Run(c.call, c.path, c.to); }), c.expected);
    if (c.injected) (*calls_).*c.injected = 0;
  }
  EXPECT_EQ(folder_.Listing(), "a.txt sub ");
  EXPECT_EQ(folder_.Listing("sub"), "a.txt ");
  EXPECT_EQ(folder_.ReadFile("sub/a.txt"), "old");
  EXPECT_EQ(folder_.ReadFile("a.txt"), "a");
}

TEST_F(PosixFileSystemTest, RunningOutOfSpaceLeavesTheTargetAsItWas) {
  folder_.WriteFile("work/card.vcf", std::string(300000, 'n'));
  folder_.WriteFile("out/card.vcf", "old card");
  calls_->bytes_until_full = 100000;
  EXPECT_EQ(ThrownErrorNumber([&] {
              files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("out/"));
            }),
            61);
  EXPECT_EQ(folder_.Listing("out"), "card.vcf ");
  calls_->bytes_until_full = 4;  // the first part is written, the rest is not
  EXPECT_EQ(ThrownErrorNumber(
                [&] { files_.AppendToFile(folder_.Path16("out/card.vcf"), "block two\r\n"); }),
            61);
  EXPECT_EQ(folder_.ReadFile("out/card.vcf"), "old card");
}

TEST_F(PosixFileSystemTest, PathsReachTheSystemAsUtf8) {
  const std::u16string sub = folder_.Path16() + u"/\u8CC7\u6599";
  files_.CreateFolder(sub + u"/");
  files_.AppendToFile(sub + u"/\u540D.txt", "x");
  EXPECT_EQ(folder_.ReadFile("\xE8\xB3\x87\xE6\x96\x99/\xE5\x90\x8D.txt"), "x");
  files_.DeleteFile(sub + u"/\u540D.txt");
  EXPECT_EQ(folder_.Listing("\xE8\xB3\x87\xE6\x96\x99"), "");
}

TEST_F(PosixFileSystemTest, DeletefolderRemovesTheWholeTreeButNeverFollowsLinks) {
  folder_.WriteFile("tree/a.txt", "a");
  folder_.WriteFile("tree/deep/er/b.txt", "b");
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
  // Also where the file system cannot rename without replacing.
  calls_->no_replace_error = EINVAL;
  files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("b.txt"));
  EXPECT_EQ(folder_.ReadFile("out/card.vcf"), card);
  EXPECT_EQ(folder_.ReadFile("b.txt"), card);
  EXPECT_EQ(folder_.Listing("out"), "card.vcf ");
  struct stat status {};
  ASSERT_EQ(::stat((folder_.path() + "/out/card.vcf").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(PosixFileSystemTest, ANewTargetNeedsNoLeaveOfItsOwn) {
  folder_.WriteFile("work/card.vcf", "card");
  folder_.MakeFolder("out");
  calls_->writable_error = EACCES;  // as a missing file answers no one
  files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("out/"));
  EXPECT_EQ(folder_.ReadFile("out/card.vcf"), "card");
}

TEST_F(PosixFileSystemTest, PrivateFoldersAreNewOwnerOnlyAndRemovedOnlyWhenEmpty) {
  folder_.MakeFolder("tmp");
  const std::u16string first = files_.CreatePrivateFolder(folder_.Path16("tmp/"));
  const std::u16string second = files_.CreatePrivateFolder(folder_.Path16("tmp"));
  EXPECT_NE(first, second);
  ASSERT_EQ(first.substr(0, folder_.Path16("tmp/").size()), folder_.Path16("tmp/"));
  EXPECT_EQ(first.back(), u'/');
  struct stat status {};
  ASSERT_EQ(::stat(EncodeUtf8(first).c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreatePrivateFolder(folder_.Path16("none/")); }), 76);

  EXPECT_NE(ThrownErrorNumber([&] { files_.DeleteEmptyFolder(folder_.Path16("tmp/")); }), 0);
  files_.DeleteEmptyFolder(first);
  files_.DeleteEmptyFolder(second);
  files_.DeleteEmptyFolder(folder_.Path16("tmp/"));
  EXPECT_EQ(folder_.Listing(), "");
}

TEST(PosixFileSystem, TemporaryFolderTable) {
  const struct { std::map<std::string, std::string> environment; std::u16string expected; } cases[] = {
      {{}, u"/tmp/"},
      {{{"TMPDIR", "/var/scratch"}}, u"/var/scratch/"},
      {{{"TMPDIR", "/var/scratch/"}}, u"/var/scratch/"},
      {{{"TMPDIR", "relative"}}, u"/tmp/"},  // would depend on the working directory
  };
  for (const auto& c : cases) {
    PosixFileSystemFactory factory(std::make_shared<SystemCalls>(),
                                   TemporaryFolderOf(testing::FakeEnvironment(c.environment)));
    EXPECT_EQ(factory.CreateFileSystem()->GetTemporaryFolder(), c.expected) << &c - cases;
  }
}

// Folders are as open as the user's umask allows, no narrower.
TEST_F(PosixFileSystemTest, FoldersTakeTheModeTheUmaskAllows) {
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{0}}) {
    SCOPED_TRACE(mask);
    const mode_t before = ::umask(mask);
    const std::u16string path = folder_.Path16("made-" + std::to_string(mask));
    files_.CreateFolder(path + u"/");
    ::umask(before);
    struct stat status {};
    ASSERT_EQ(::stat(EncodeUtf8(path).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0777u & ~mask);
  }
}

TEST_F(PosixFileSystemTest, AppendToFileAddsAtTheEndAndReplaceWithNewFileStartsAfresh) {
  files_.AppendToFile(folder_.Path16("run.log"), "first\r\n");
  files_.AppendToFile(folder_.Path16("run.log"), "second\r\n");
  EXPECT_EQ(folder_.ReadFile("run.log"), "first\r\nsecond\r\n");
  files_.ReplaceWithNewFile(folder_.Path16("run.log"), "card\r\n");
  files_.ReplaceWithNewFile(folder_.Path16("new.vcf"), "card\r\n");
  EXPECT_EQ(folder_.ReadFile("run.log"), "card\r\n");
  EXPECT_EQ(folder_.ReadFile("new.vcf"), "card\r\n");
}

// Longer than one read, with the bytes a saved card may hold: NUL, CR LF, high bytes.
TEST_F(PosixFileSystemTest, ReadFileBytesGivesTheWholeFileUnchanged) {
  std::string bytes = "BEGIN\0\r\n\xE5\x90\x8D"s;
  while (bytes.size() < 200000) bytes += bytes;
  folder_.WriteFile("card.vcf", bytes);
  folder_.WriteFile("empty.vcf", "");
  EXPECT_EQ(files_.ReadFileBytes(folder_.Path16("card.vcf")), bytes);
  EXPECT_EQ(files_.ReadFileBytes(folder_.Path16("empty.vcf")), "");
}

TEST(PosixFileSystem, GetParentFolderNameTable) {
  const struct { std::u16string path, expected; } cases[] = {
      {u"/out/card.vcf", u"/out"}, {u"/a", u"/"}, {u"a/b/", u"a"},
      {u"a//b", u"a"},             {u"card.vcf", u""}, {u"/", u""},
  };
  PosixFileSystem files;
  for (const auto& c : cases) {
    EXPECT_EQ(files.GetParentFolderName(c.path), c.expected) << &c - cases;
  }
}

}  // namespace
}  // namespace orvane::posix
