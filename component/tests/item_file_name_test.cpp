#include "component/item_file_name.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::FakePlatform;
using testing::Narrow;

struct NamingCase {
  const char* component_folder;
  int16_t item;
  int16_t type;
  const char16_t* filename;
  const char* expected;
};

void PrintTo(const NamingCase& c, std::ostream* os) {
  *os << "type " << c.type << ", item " << c.item << ", \"" << Narrow(c.filename) << "\" in "
      << c.component_folder;
}

class BuildItemFileNameTest : public ::testing::TestWithParam<NamingCase> {};

TEST_P(BuildItemFileNameTest, FormsTheTargetPath) {
  const NamingCase& c = GetParam();
  FakePlatform fake;
  fake.location->folder = testing::Widen(c.component_folder);
  fake.disk->AddFolder(u"/data");
  fake.disk->AddFolder(u"/data/cards");
  fake.disk->AddFile(u"/data/old.vcf", "x");
  fake.disk->AddFolder(u"cards");  // a folder in the current working folder
  const PlatformServices services = fake.services();
  SharedState state;
  state.FileSys = services.file_systems->CreateFileSystem();
  CallContext context(state, services, [](int16_t, const std::u16string&) {});

  std::u16string filename = c.filename;
  const std::u16string returned = BuildItemFileName(context, c.item, c.type, filename);

  EXPECT_EQ(Narrow(filename), c.expected);
  EXPECT_EQ(returned, filename);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildItemFileNameTest,
    ::testing::Values(
        // Empty name: the component folder, the type's stem and the number.
        NamingCase{"/app", 5, 1, u"", "/app/OutlookvCard5"},
        NamingCase{"/app/", 5, 1, u"", "/app/OutlookvCard5"},
        NamingCase{"/", 7, 3, u"", "/ExpressvCard7"},
        NamingCase{"/app", -2, 2, u"", "/app/OutlookvCal-2"},
        NamingCase{"/app", 5, 0, u"", ""},
        NamingCase{"/app", 5, 4, u"", ""},
        // A bare name goes into the component folder, without stem or number.
        NamingCase{"/app", 5, 1, u"alice", "/app/alice"},
        NamingCase{"/app/", 5, 3, u"alice.vcf", "/app/alice.vcf"},
        // A bare name that is a folder counts as a folder.
        NamingCase{"/app", 4, 3, u"cards", "cards/ExpressvCard4"},
        // A folder, existing or not, with its trailing separator.
        NamingCase{"/app", 12, 2, u"/nowhere/", "/nowhere/OutlookvCal12"},
        NamingCase{"/app", 12, 2, u"/data/cards/", "/data/cards/OutlookvCal12"},
        // An existing folder without trailing separator.
        NamingCase{"/app", 1, 3, u"/data/cards", "/data/cards/ExpressvCard1"},
        // Unknown type: only the separator is added to a folder.
        NamingCase{"/app", 1, 9, u"/data/cards", "/data/cards/"},
        // The path of a file, existing or not, stays as it is.
        NamingCase{"/app", 1, 3, u"/data/old.vcf", "/data/old.vcf"},
        NamingCase{"/app", 1, 3, u"/data/new", "/data/new"}));

}  // namespace
}  // namespace orvane
