#include "platform/posix/posix_platform.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <limits.h>
#include <stdlib.h>

#include <sstream>
#include <string>

#include "platform/error.h"
#include "platform/posix/posix_component_location.h"
#include "platform/posix/posix_message_box.h"
#include "platform/posix/mail_store/mail_store_object_model.h"
#include "platform/posix/tests/test_helpers.h"
#include "platform/posix/text_conversion.h"
#include "tests/support/temporary_folder.h"

namespace orvane::posix {
namespace {

TEST(PosixComponentLocation, IsTheFolderOfTheBinaryHoldingTheCode) {
  char resolved[PATH_MAX];
  ASSERT_NE(::realpath("/proc/self/exe", resolved), nullptr);
  const std::string executable = resolved;
  static const int marker = 0;
  EXPECT_EQ(BinaryPathOf(&marker), executable);
  EXPECT_EQ(PosixComponentLocation().ComponentFolder(),
            DecodeUtf8(executable.substr(0, executable.rfind('/'))));
  // iconv_open lives in the C library, which is loaded from a file of its own.
  const std::string library = BinaryPathOf(reinterpret_cast<const void*>(&::iconv_open));
  EXPECT_TRUE(library.starts_with('/'));
  EXPECT_NE(library.find("libc"), std::string::npos) << library;
}

TEST(PosixComponentLocation, IsInTheSystemProgramFolderOnlyWhereTheBuildInstallsPrograms) {
  char resolved[PATH_MAX];
  ASSERT_NE(::realpath("/proc/self/exe", resolved), nullptr);
  const std::string folder = std::string(resolved).substr(0, std::string(resolved).rfind('/'));
  EXPECT_TRUE(PosixComponentLocation(folder).InSystemProgramFolder());
  EXPECT_TRUE(PosixComponentLocation(folder + "/.").InSystemProgramFolder()) << "compared resolved";
  EXPECT_FALSE(PosixComponentLocation(folder + "/missing").InSystemProgramFolder());
  EXPECT_FALSE(PosixComponentLocation("").InSystemProgramFolder());
  EXPECT_FALSE(PosixComponentLocation().InSystemProgramFolder()) << "a build is not installed";
}

TEST(PosixMessageBox, WritesOneMarkedLinePerMessageTable) {
  const struct { std::u16string text; MessageBoxKind kind; std::string expected; } cases[] = {
      {u"Disk full", MessageBoxKind::kCritical, "error: Disk full\n"},
      {u"Done", MessageBoxKind::kInformation, "note: Done\n"},
      {u"two\r\nlines\nand\rmore", MessageBoxKind::kCritical, "error: two lines and more\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    PosixMessageBox(out).Show(c.text, c.kind);
    EXPECT_EQ(out.str(), c.expected);
  }
}

// Why a store cannot be opened is the mail store's tests' to check.
TEST(MakePosixPlatform, OpensTheMailStoreItIsToldOf) {
  const orvane::testing::TemporaryFolder folder;
  const std::string store = folder.WriteFile(
      "store.json", R"({"contacts": {"name": "Contacts"}, "calendar": {"name": "Calendar"}})");
  const PlatformServices services =
      MakePosixPlatform({"/nonexistent/address-book.json", store, std::nullopt});
  const auto model = std::dynamic_pointer_cast<MailStoreObjectModel>(services.outlook);
  ASSERT_TRUE(model);
  const auto session = model->CreateApplication()->GetNamespace(u"MAPI");
  EXPECT_EQ(session->GetDefaultFolder(10)->Name(), u"Contacts");
}

TEST(MakePosixPlatform, FillsEveryServiceAndTheyWorkTogether) {
  // The code page the host names replaces the locale's.
  const PlatformServices services =
      MakePosixPlatform({"/nonexistent/address-book.json", "/nonexistent/mail-store.json", 950});
  EXPECT_EQ(services.path_separator, u'/');
  ASSERT_TRUE(services.file_systems && services.component_location && services.clock &&
              services.language && services.code_page && services.message_box &&
              services.message_loop && services.time_zone && services.file_times &&
              services.address_book && services.outlook);
  EXPECT_EQ(services.code_page->Number(), 950u);
  auto files = services.file_systems->CreateFileSystem();
  EXPECT_TRUE(files->FolderExists(services.component_location->ComponentFolder()));
}

}  // namespace
}  // namespace orvane::posix
