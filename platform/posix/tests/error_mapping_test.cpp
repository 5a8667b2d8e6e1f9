#include "platform/posix/error_mapping.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/error.h"

namespace orvane::posix {
namespace {

struct MappingCase {
  int os_error;
  MissingPath missing;
  int32_t expected;
};

TEST(ErrorMapping, MapsOperatingSystemErrorsToAutomationNumbers) {
  const MappingCase cases[] = {
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
}

TEST(ErrorMapping, ThrowsTheNumberWithItsStandardDescription) {
  try {
    ThrowForErrno(ENOSPC, MissingPath::kFile);
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), 61);
    EXPECT_EQ(error.description(), u"Disk full");
  }
  EXPECT_THROW(ThrowForErrno(ENOENT, MissingPath::kFolder), Error);
}

}  // namespace
}  // namespace orvane::posix
