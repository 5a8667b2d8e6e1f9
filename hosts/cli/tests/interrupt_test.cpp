#include "hosts/cli/interrupt.h"

#include <gtest/gtest.h>

#include <csignal>

namespace orvane::cli {
namespace {

TEST(YieldHookTest, AsksTheRunToStopOnceAtTheFirstYieldAfterAnInterrupt) {
  int interrupts = 0, stops = 0, lines = 0;
  YieldHook hook({[&] { return interrupts; }, [&] { ++stops; }, [&](const std::string&) { ++lines; },
                  [](int) {}},
                 std::nullopt);
  hook();
  EXPECT_FALSE(hook.stop_requested());
  interrupts = 1;
  hook();
  hook();
  EXPECT_TRUE(hook.stop_requested());
  EXPECT_EQ(std::pair(stops, lines), std::pair(1, 1));
}

TEST(PauseAtYieldFromTest, TakesOnlyAPositiveWholeNumber) {
  for (const char* unusable : {"", "0", "3x", "99999999999"}) {
    EXPECT_EQ(PauseAtYieldFrom(unusable), std::nullopt) << unusable;
  }
}

// The handler is process-wide, so the case runs in a child of its own.
TEST(InterruptHandlerDeathTest, AWaitEndsAtTheFirstInterruptAndTheSecondEndsTheProgram) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        InstallInterruptHandler();
        if (WaitForInterrupt(0, std::chrono::milliseconds(20))) std::_Exit(3);
        std::raise(SIGINT);
        // The signal came before the wait began: it is not missed.
        if (InterruptCount() != 1 || !WaitForInterrupt(0, std::chrono::seconds(5))) std::_Exit(4);
        std::raise(SIGINT);
        std::_Exit(5);
      },
      ::testing::ExitedWithCode(130), "");
}

}  // namespace
}  // namespace orvane::cli
