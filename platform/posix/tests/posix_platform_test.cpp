#include "platform/posix/posix_platform.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace orvane::posix {
namespace {

TEST(MakePosixPlatform, FillsEveryService) {
  const PlatformServices services = MakePosixPlatform({"/nonexistent/address-book.json"});
  EXPECT_EQ(services.path_separator, u'/');
  EXPECT_NE(services.file_systems, nullptr);
  EXPECT_NE(services.component_location, nullptr);
  EXPECT_NE(services.clock, nullptr);
  EXPECT_NE(services.language, nullptr);
  EXPECT_NE(services.code_page, nullptr);
  EXPECT_NE(services.message_box, nullptr);
  EXPECT_NE(services.message_loop, nullptr);
  EXPECT_NE(services.time_zone, nullptr);
  EXPECT_NE(services.file_times, nullptr);
  EXPECT_NE(services.address_book, nullptr);
  EXPECT_NE(services.outlook, nullptr);
}

TEST(MakePosixPlatform, ServicesWorkTogether) {
  const PlatformServices services = MakePosixPlatform();
  auto files = services.file_systems->CreateFileSystem();
  EXPECT_TRUE(files->FolderExists(services.component_location->ComponentFolder()));
  EXPECT_THROW(services.outlook->CreateApplication(), Error);

  bool yielded = false;
  auto loop = std::dynamic_pointer_cast<HookMessageLoop>(services.message_loop);
  ASSERT_NE(loop, nullptr);
  loop->SetHook([&] { yielded = true; });
  services.message_loop->YieldToPendingMessages();
  EXPECT_TRUE(yielded);

  SystemTime fields;
  EXPECT_TRUE(services.file_times->FileTimeToSystemTime(FileTime::FromTicks(0), fields));
  EXPECT_EQ(fields.wYear, 1601);
}

}  // namespace
}  // namespace orvane::posix
