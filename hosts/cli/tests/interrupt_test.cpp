#include "hosts/cli/interrupt.h"

#include <gtest/gtest.h>

#include <csignal>

namespace orvane::cli {
namespace {

// Records what the hook does, with the interrupt count set by the test.
struct HookWitness {
  int interrupts = 0;
  int stops = 0;
  std::vector<std::string> said;
  std::vector<int> waits;  // the count seen when each pause began

  YieldHook Hook(std::optional<int> pause_at_yield) {
    return YieldHook(YieldHook::Actions{[this] { return interrupts; }, [this] { ++stops; },
                                        [this](const std::string& line) { said.push_back(line); },
                                        [this](int seen) {
                                          waits.push_back(seen);
                                          ++interrupts;  // the signal the test sends
                                        }},
                     pause_at_yield);
  }
};

const std::string kStopping = "stopping after the current item; press Ctrl-C again to quit at once";

TEST(YieldHookTest, DoesNothingUntilAnInterruptArrives) {
  HookWitness witness;
  YieldHook hook = witness.Hook(std::nullopt);
  hook();
  hook();
  EXPECT_EQ(witness.stops, 0);
  EXPECT_FALSE(hook.stop_requested());
  EXPECT_TRUE(witness.said.empty());
}

TEST(YieldHookTest, AsksTheRunToStopOnceAfterTheFirstInterrupt) {
  HookWitness witness;
  YieldHook hook = witness.Hook(std::nullopt);
  hook();
  witness.interrupts = 1;
  hook();
  hook();
  EXPECT_EQ(witness.stops, 1);
  EXPECT_TRUE(hook.stop_requested());
  EXPECT_EQ(witness.said, std::vector<std::string>{kStopping});
}

TEST(YieldHookTest, PausesAtTheNamedYieldAndStopsThere) {
  HookWitness witness;
  YieldHook hook = witness.Hook(3);
  hook();
  hook();
  EXPECT_EQ(witness.stops, 0);
  hook();
  EXPECT_EQ(witness.waits, std::vector<int>{0});
  EXPECT_EQ(witness.stops, 1);
  EXPECT_EQ(witness.said,
            (std::vector<std::string>{"paused at yield 3; waiting for a signal", kStopping}));
  hook();
  EXPECT_EQ(witness.waits.size(), 1u) << "only the one pause";
}

struct PauseCase {
  const char* value;
  std::optional<int> expected;
};

TEST(PauseAtYieldFromTest, TakesOnlyAPositiveWholeNumber) {
  const PauseCase cases[] = {
      {nullptr, std::nullopt},
      {"", std::nullopt},
      {"1", 1},
      {"250", 250},
      {"0", std::nullopt},
      {"-2", std::nullopt},
      {"3x", std::nullopt},
      {" 3", std::nullopt},
      {"99999999999", std::nullopt},
  };
  for (const PauseCase& c : cases) {
    EXPECT_EQ(PauseAtYieldFrom(c.value), c.expected) << (c.value ? c.value : "(unset)");
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
