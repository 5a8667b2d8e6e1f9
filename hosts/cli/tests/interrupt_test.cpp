#include "hosts/cli/interrupt.h"

#include <gtest/gtest.h>

#include <csignal>

namespace orvane::cli {
namespace {

TEST(YieldHookTest, AsksTheRunToStopOnceAtTheFirstYieldAfterAnInterrupt) {
  int interrupts = 0;
  int stops = 0;
  std::vector<std::string> said;
  YieldHook hook({[&] { return interrupts; }, [&] { ++stops; },
                  [&](const std::string& line) { said.push_back(line); }, [](int) {}},
                 std::nullopt);
  hook();
  EXPECT_FALSE(hook.stop_requested());
  interrupts = 1;
  hook();
  hook();
  EXPECT_TRUE(hook.stop_requested());
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(said, std::vector<std::string>{
                      "stopping after the current item; press Ctrl-C again to quit at once"});
}

TEST(PauseAtYieldFromTest, TakesOnlyAPositiveWholeNumber) {
  EXPECT_EQ(PauseAtYieldFrom(nullptr), std::nullopt);
  EXPECT_EQ(PauseAtYieldFrom("250"), 250);
  for (const char* unusable : {"", "0", "-2", "3x", " 3", "99999999999"}) {
    EXPECT_EQ(PauseAtYieldFrom(unusable), std::nullopt) << unusable;
  }
}

// The handler is process-wide, so each case runs in a child of its own.
TEST(InterruptHandlerDeathTest, TheFirstInterruptIsCountedAndTheSecondEndsTheProgram) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        InstallInterruptHandler();
        std::raise(SIGINT);
        if (InterruptCount() != 1) std::_Exit(3);
        std::raise(SIGINT);
        std::_Exit(4);
      },
      ::testing::ExitedWithCode(130), "");
}

TEST(InterruptHandlerDeathTest, AWaitEndsWhenTheSignalComesOrTheTimeIsUp) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        InstallInterruptHandler();
        if (WaitForInterrupt(0, std::chrono::milliseconds(20))) std::_Exit(3);
        std::raise(SIGINT);
        // The signal came before the wait began: it is not missed.
        if (!WaitForInterrupt(0, std::chrono::seconds(5))) std::_Exit(4);
        if (WaitForInterrupt(1, std::chrono::milliseconds(20))) std::_Exit(5);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orvane::cli
