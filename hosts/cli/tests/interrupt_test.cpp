#include "hosts/cli/interrupt.h"

#include <gtest/gtest.h>

#include <csignal>

namespace orvane::cli {
namespace {

TEST(YieldHookTest, AsksTheRunToStopOnceAtTheFirstYieldAfterAnInterrupt) {
  int interrupts = 0, stops = 0, lines = 0;
  YieldHook hook({[&] { return interrupts; }, [&] { ++stops; }, [] { return std::string("stop"); },
                  [&](const std::string&) { ++lines; }, [](int) {}},
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

// The handler is process-wide, so each case runs in a child of its own.
TEST(InterruptHandlerDeathTest, AWaitEndsAtTheFirstSignalAndTheSecondEndsTheProgram) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  const struct {
    int signal, status;
    const char* notice;
  } cases[] = {
      {SIGINT, 130, "stopping after the current item; press Ctrl-C again to quit at once"},
      {SIGTERM, 143, "stopping after the current item on SIGTERM; a second one quits at once"},
      {SIGHUP, 129, "stopping after the current item on SIGHUP; a second one quits at once"}};
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          InstallInterruptHandler();
          if (WaitForInterrupt(0, std::chrono::milliseconds(20))) std::_Exit(3);
          std::raise(c.signal);
          // The signal came before the wait began: it is not missed.
          if (InterruptCount() != 1 || !WaitForInterrupt(0, std::chrono::seconds(5))) std::_Exit(4);
          if (StopNotice() != c.notice) std::_Exit(5);
          std::raise(c.signal);
          std::_Exit(6);
        },
        ::testing::ExitedWithCode(c.status), "")
        << c.signal;
  }
}

TEST(InterruptHandlerDeathTest, LeavesAnIgnoredHangUpIgnored) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        std::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
        InstallInterruptHandler();
        std::raise(SIGHUP);
        std::_Exit(InterruptCount() == 0 ? 7 : 8);
      },
      ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace orvane::cli
