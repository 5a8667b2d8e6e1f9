// Failures the disk cannot be made to show on demand (a full disk, a denied
// folder while running as root), injected through the system-call seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>

#include "platform/error.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/tests/temporary_folder.h"
#include "platform/posix/tests/thrown_error.h"

namespace orvane::posix {
namespace {

using testing::TemporaryFolder;
using testing::ThrownErrorNumber;

// The real calls, except those told to fail.
class FailingCalls : public SystemCalls {
 public:
  std::size_t bytes_until_full = std::numeric_limits<std::size_t>::max();
  int open_error = 0;
  int make_folder_error = 0;
  int remove_file_error = 0;
  int rename_error = 0;
  int status_error = 0;

  int Write(int fd, const char* bytes, std::size_t size, std::size_t& count) override {
    if (bytes_until_full == 0) return ENOSPC;
    const int error = SystemCalls::Write(fd, bytes, std::min(size, bytes_until_full), count);
    bytes_until_full -= count;
    return error;
  }
  int Open(const std::string& path, int flags, mode_t mode, int& fd) override {
    return open_error ? open_error : SystemCalls::Open(path, flags, mode, fd);
  }
  int MakeFolder(const std::string& path) override {
    return make_folder_error ? make_folder_error : SystemCalls::MakeFolder(path);
  }
  int RemoveFile(const std::string& path) override {
    return remove_file_error ? remove_file_error : SystemCalls::RemoveFile(path);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return rename_error ? rename_error : SystemCalls::Rename(from, to);
  }
  int Status(const std::string& path, struct stat& out) override {
    return status_error ? status_error : SystemCalls::Status(path, out);
  }
};

// Every call fails as on a full disk: whatever is attempted shows up as error 61.
class BrokenCalls : public SystemCalls {
 public:
  int Status(const std::string&, struct stat&) override { return ENOSPC; }
  int LinkStatus(const std::string&, struct stat&) override { return ENOSPC; }
  int ListFolder(const std::string&, std::vector<std::string>&) override { return ENOSPC; }
  int RemoveFolder(const std::string&) override { return ENOSPC; }
  int RemoveFile(const std::string&) override { return ENOSPC; }
};

class FileSystemFailureTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  std::shared_ptr<FailingCalls> calls_ = std::make_shared<FailingCalls>();
  PosixFileSystem files_{calls_};
};

TEST_F(FileSystemFailureTest, CopyThatRunsOutOfSpaceKeepsTheOldTarget) {
  folder_.WriteFile("work/card.vcf", std::string(300000, 'n'));
  folder_.WriteFile("out/card.vcf", "old card");
  calls_->bytes_until_full = 100000;
  EXPECT_EQ(ThrownErrorNumber([&] {
              files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("out/"));
            }),
            61);
  EXPECT_EQ(folder_.ReadFile("out/card.vcf"), "old card");
  EXPECT_EQ(folder_.Listing("out"), "card.vcf ");  // no partial copy left beside it
}

TEST_F(FileSystemFailureTest, CopyWhoseRenameFailsKeepsTheOldTarget) {
  folder_.WriteFile("a.txt", "new");
  folder_.WriteFile("b.txt", "old");
  calls_->rename_error = EACCES;
  EXPECT_EQ(ThrownErrorNumber(
                [&] { files_.CopyFile(folder_.Path16("a.txt"), folder_.Path16("b.txt")); }),
            70);
  EXPECT_EQ(folder_.ReadFile("b.txt"), "old");
  EXPECT_EQ(folder_.Listing(), "a.txt b.txt ");
}

TEST_F(FileSystemFailureTest, AppendThatRunsOutOfSpaceLeavesTheFileAsItWas) {
  folder_.WriteFile("run.log", "block one\r\n");
  calls_->bytes_until_full = 4;  // the first part is written, the rest is not
  EXPECT_EQ(ThrownErrorNumber(
                [&] { files_.AppendToFile(folder_.Path16("run.log"), "block two\r\n"); }),
            61);
  EXPECT_EQ(folder_.ReadFile("run.log"), "block one\r\n");
}

TEST_F(FileSystemFailureTest, DeniedCallsArePermissionDenied) {
  folder_.WriteFile("a.txt", "a");
  calls_->open_error = EACCES;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.AppendToFile(folder_.Path16("a.txt"), "x"); }), 70);
  calls_->make_folder_error = EROFS;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreateFolder(folder_.Path16("new")); }), 70);
  calls_->remove_file_error = EPERM;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(folder_.Path16("a.txt")); }), 70);
  EXPECT_EQ(folder_.ReadFile("a.txt"), "a");
}

TEST_F(FileSystemFailureTest, BusyFileStopsTheFolderRemoval) {
  folder_.WriteFile("tree/a.txt", "a");
  calls_->remove_file_error = EBUSY;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(folder_.Path16("tree")); }), 75);
  EXPECT_EQ(folder_.ReadFile("tree/a.txt"), "a");
}

TEST_F(FileSystemFailureTest, UnreadablePathsDoNotExist) {
  folder_.WriteFile("a.txt", "a");
  calls_->status_error = EACCES;
  EXPECT_FALSE(files_.FileExists(folder_.Path16("a.txt")));
  EXPECT_FALSE(files_.FolderExists(folder_.Path16()));
}

TEST(FileSystemRoot, RemovingTheRootIsRefusedBeforeAnyCall) {
  PosixFileSystem files(std::make_shared<BrokenCalls>());
  EXPECT_EQ(ThrownErrorNumber([&] { files.Deletefolder(u"/"); }), 70);
  EXPECT_EQ(ThrownErrorNumber([&] { files.Deletefolder(u"//"); }), 70);
  EXPECT_EQ(ThrownErrorNumber([&] { files.Deletefolder(u"/tmp/.."); }), 75);
  EXPECT_EQ(ThrownErrorNumber([&] { files.Deletefolder(u"/tmp/x"); }), 61);  // a call was made
}

}  // namespace
}  // namespace orvane::posix
