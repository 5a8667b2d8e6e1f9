#include "platform/posix/posix_component_location.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <limits.h>
#include <stdlib.h>

#include <string>

#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

std::string ThisExecutable() {
  char resolved[PATH_MAX];
  return ::realpath("/proc/self/exe", resolved) == nullptr ? std::string() : resolved;
}

TEST(PosixComponentLocation, LinkedIntoTheProgramItIsTheProgramsFolder) {
  const std::string executable = ThisExecutable();
  ASSERT_FALSE(executable.empty());
  const std::string folder = executable.substr(0, executable.rfind('/'));
  EXPECT_EQ(PosixComponentLocation().ComponentFolder(), DecodeUtf8(folder));
}

TEST(PosixComponentLocation, FindsTheSharedLibraryHoldingAnAddress) {
  // iconv_open lives in the C library, which is loaded from a file of its own.
  const std::string path = BinaryPathOf(reinterpret_cast<const void*>(&::iconv_open));
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_NE(path.find("libc"), std::string::npos) << path;
  EXPECT_NE(path, ThisExecutable());
}

TEST(PosixComponentLocation, MainProgramAddressGivesTheExecutable) {
  static const int marker = 0;
  EXPECT_EQ(BinaryPathOf(&marker), ThisExecutable());
}

}  // namespace
}  // namespace orvane::posix
