#include <gtest/gtest.h>

#include <thread>

#include "component/module.h"
#include "component/orvane2.h"
#include "component/shared_state.h"
#include "outlook/outlook_source.h"
#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::FakePlatform;

class DispatchTest : public ::testing::Test {
 protected:
  FakePlatform fake;
  Module module{fake.services(), {MakeOutlookSource(1), MakeOutlookSource(2), nullptr}};
  Orvane2 component{module};
};

TEST_F(DispatchTest, UnknownExportTypesDoNothing) {
  for (int16_t type : {int16_t{-1}, int16_t{0}, int16_t{4}, int16_t{32767}}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(component.itemcount(type), 0);

    std::u16string title = u"kept";
    AutomationDate modified = 1234.5;
    EXPECT_EQ(component.GetItem(1, type, title, modified), 0);
    EXPECT_EQ(title, u"kept");
    EXPECT_EQ(modified, 1234.5);

    std::u16string filename;
    EXPECT_EQ(component.ExportItem2(1, type, filename), 0);
    EXPECT_EQ(filename, u"");
  }
  EXPECT_EQ(fake.missing_outlook->attempts, 0) << "no mail-client session for other types";
  EXPECT_TRUE(fake.disk->files.empty());
}

TEST_F(DispatchTest, ExportItem2HandsBackTheTargetPathForUnknownTypes) {
  fake.disk->AddFolder(u"/out");
  std::u16string filename = u"/out";
  EXPECT_EQ(component.ExportItem2(3, 7, filename), 0);
  EXPECT_EQ(filename, u"/out/");
}

TEST_F(DispatchTest, ExportBreakSetsTheFlagThatAllObjectsOfTheThreadShare) {
  Orvane2 other(module);
  EXPECT_FALSE(module.ThreadState().BreakRequested);
  other.ExportBreak();
  other.ExportBreak();
  EXPECT_TRUE(module.ThreadState().BreakRequested);
}

TEST_F(DispatchTest, AnotherThreadHasItsOwnState) {
  component.ExportBreak();
  bool seen_on_other_thread = true;
  std::thread([&] {
    Orvane2 there(module);
    seen_on_other_thread = module.ThreadState().BreakRequested;
    there.ExportBreak();
  }).join();
  EXPECT_FALSE(seen_on_other_thread);
  EXPECT_TRUE(module.ThreadState().BreakRequested);
}

TEST_F(DispatchTest, AnotherModuleHasItsOwnState) {
  component.ExportBreak();
  Module second(fake.services(), {});
  EXPECT_FALSE(second.ThreadState().BreakRequested);
}

}  // namespace
}  // namespace orvane
