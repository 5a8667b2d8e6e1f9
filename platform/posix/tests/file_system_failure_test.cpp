// Failures the disk cannot be made to show on demand (a full disk, a denied
// folder while running as root), injected through the system-call seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>

#include "platform/posix/error_mapping.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/tests/test_helpers.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

using testing::ThrownErrorNumber;

TEST(ErrorMapping, OperatingSystemErrorsTable) {
  const struct { int os_error; MissingPath missing; int32_t expected; } cases[] = {
      {ENOENT, MissingPath::kFile, 53},
      {ENOENT, MissingPath::kFolder, 76},
      {EEXIST, MissingPath::kFolder, 58},
      {ENOSPC, MissingPath::kFile, 61},
      {EDQUOT, MissingPath::kFile, 61},
      {EFBIG, MissingPath::kFile, 61},
      {EACCES, MissingPath::kFile, 70},
      {EPERM, MissingPath::kFolder, 70},
      {EROFS, MissingPath::kFile, 70},
      {ENOTDIR, MissingPath::kFile, 76},
      {ELOOP, MissingPath::kFile, 76},
      {ENAMETOOLONG, MissingPath::kFile, 76},
      {EISDIR, MissingPath::kFile, 75},
      {EBUSY, MissingPath::kFolder, 75},
      {ETXTBSY, MissingPath::kFile, 75},
      {ENOTEMPTY, MissingPath::kFolder, 75},
      {EIO, MissingPath::kFile, 75},
      {EXDEV, MissingPath::kFile, 75},
      {ENOMEM, MissingPath::kFile, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorNumberFromErrno(c.os_error, c.missing), c.expected) << "errno " << c.os_error;
  }
  try {
    ThrowForErrno(ENOSPC, MissingPath::kFile);
  } catch (const Error& error) {
    EXPECT_EQ(error.description(), u"Disk full");
  }
}

// The real calls, except those told to fail.
class FailingCalls : public SystemCalls {
 public:
  std::size_t bytes_until_full = std::numeric_limits<std::size_t>::max();
  int open_error = 0, make_folder_error = 0, remove_file_error = 0, rename_error = 0,
      status_error = 0, link_status_error = 0;

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
  int LinkStatus(const std::string& path, struct stat& out) override {
    return link_status_error ? link_status_error : SystemCalls::LinkStatus(path, out);
  }
};

class FileSystemFailureTest : public ::testing::Test {
 protected:
  orvane::testing::TemporaryFolder folder_;
  std::shared_ptr<FailingCalls> calls_ = std::make_shared<FailingCalls>();
  PosixFileSystem files_{calls_};
};

TEST_F(FileSystemFailureTest, FailedCopyKeepsTheOldTargetAndLeavesNoPartialCopy) {
  folder_.WriteFile("work/card.vcf", std::string(300000, 'n'));
  const struct { std::size_t bytes_until_full; int rename_error; int32_t expected; } cases[] = {
      {100000, 0, 61},                                        // the disk fills up on the way
      {std::numeric_limits<std::size_t>::max(), EACCES, 70},  // the copy cannot take the name
  };
  for (const auto& c : cases) {
    folder_.WriteFile("out/card.vcf", "old card");
    calls_->bytes_until_full = c.bytes_until_full;
    calls_->rename_error = c.rename_error;
    EXPECT_EQ(ThrownErrorNumber([&] {
                files_.CopyFile(folder_.Path16("work/card.vcf"), folder_.Path16("out/"));
              }),
              c.expected);
    EXPECT_EQ(folder_.ReadFile("out/card.vcf"), "old card");
    EXPECT_EQ(folder_.Listing("out"), "card.vcf ");
  }
}

TEST_F(FileSystemFailureTest, AppendThatRunsOutOfSpaceLeavesTheFileAsItWas) {
  folder_.WriteFile("run.log", "block one\r\n");
  calls_->bytes_until_full = 4;  // the first part is written, the rest is not
  EXPECT_EQ(ThrownErrorNumber(
                [&] { files_.AppendToFile(folder_.Path16("run.log"), "block two\r\n"); }),
            61);
  EXPECT_EQ(folder_.ReadFile("run.log"), "block one\r\n");
}

TEST_F(FileSystemFailureTest, DeniedAndBusyCallsAreReportedAndChangeNothing) {
  folder_.WriteFile("tree/a.txt", "a");
  calls_->open_error = EACCES;
  calls_->make_folder_error = EROFS;
  calls_->remove_file_error = EPERM;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.AppendToFile(folder_.Path16("tree/a.txt"), "x"); }),
            70);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.CreateFolder(folder_.Path16("new")); }), 70);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.DeleteFile(folder_.Path16("tree/a.txt")); }), 70);
  calls_->remove_file_error = EBUSY;
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(folder_.Path16("tree")); }), 75);
  EXPECT_EQ(folder_.ReadFile("tree/a.txt"), "a");
  EXPECT_EQ(folder_.Listing(), "tree ");

  calls_->status_error = EACCES;  // what cannot be examined does not exist
  EXPECT_FALSE(files_.FileExists(folder_.Path16("tree/a.txt")));
  EXPECT_FALSE(files_.FolderExists(folder_.Path16()));
}

TEST_F(FileSystemFailureTest, RemovingTheRootIsRefusedBeforeAnyCall) {
  calls_->link_status_error = ENOSPC;  // a call made would show as 61
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(u"/"); }), 70);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(u"//"); }), 70);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(u"/tmp/.."); }), 75);
  EXPECT_EQ(ThrownErrorNumber([&] { files_.Deletefolder(folder_.Path16("x")); }), 61);
}

}  // namespace
}  // namespace orvane::posix
