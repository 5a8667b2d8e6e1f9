#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <thread>

#include "component/module.h"
#include "component/orvane2.h"
#include "component/shared_state.h"
#include "outlook/outlook_source.h"
#include "platform/error.h"
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

// A source whose every operation fails by throwing what it is given.
class ThrowingSource final : public ExportSource {
 public:
  explicit ThrowingSource(std::function<void()> fail) : fail_(std::move(fail)) {}
  int16_t CountItems(CallContext&) override { return fail_(), int16_t{1}; }
  void GetItemInfo(CallContext&, int16_t, std::u16string&, AutomationDate&) override { fail_(); }
  void ExportItem(CallContext&, int16_t, const std::u16string&) override { fail_(); }
  void ExportAll(CallContext&) override { fail_(); }

 private:
  std::function<void()> fail_;
};

// Whatever a source throws becomes a result: running out of memory is 7, any
// failure the component does not know 51, and its own errors keep their number.
TEST(Dispatch, EveryFailureBecomesItsResultTable) {
  const struct { std::function<void()> fail; int32_t result; std::string text; } cases[] = {
      {[] { throw std::bad_alloc(); }, 7, "Out of memory"},
      {[] { throw std::runtime_error("broken"); }, 51, "Internal error"},
      {[] { throw 42; }, 51, "Internal error"},
      {[] { throw Error(61); }, 61, "Disk full"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    FakePlatform fake;
    Module module{fake.services(), {nullptr, nullptr, std::make_unique<ThrowingSource>(c.fail)}};
    Orvane2 component{module};
    auto events = std::make_shared<testing::RecordingEvents>();
    component.Advise(events);
    std::u16string title = u"kept", filename;
    AutomationDate modified = 1.5;
    EXPECT_EQ(component.itemcount(3), -1);
    // The count's -1 names no error; the host asks the object for it.
    const std::optional<Error> why = component.LastCallError();
    EXPECT_EQ(why ? std::pair(why->number(), why->description()) : std::pair(0, std::u16string()),
              std::pair(c.result, std::u16string(c.text.begin(), c.text.end())));
    EXPECT_EQ(component.GetItem(1, 3, title, modified), c.result);
    EXPECT_EQ(title, u"kept");
    EXPECT_EQ(component.ExportItem2(1, 3, filename), c.result);
    EXPECT_EQ(component.Export2(u"/", u"", 3), c.result);
    EXPECT_EQ(events->lines.back(), "done [" + c.text + "] []");
    EXPECT_EQ(component.itemcount(4), 0);
    EXPECT_FALSE(component.LastCallError()) << "a call that ended normally clears it";
  }
}

}  // namespace
}  // namespace orvane
