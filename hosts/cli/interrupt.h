#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace orvane::cli {

// Ctrl-C during an export. The handler only counts the signals: the first is
// acted on at the component's next yield (see YieldHook); the second ends the
// program at once with status 130, the shell's number for "ended by Ctrl-C".
void InstallInterruptHandler();
// How many SIGINTs arrived since the handler was installed.
int InterruptCount();
// Waits until InterruptCount() exceeds `seen`; false when `limit` passed first.
bool WaitForInterrupt(int seen, std::chrono::milliseconds limit);

// Runs at every yield of the component during a call.
//
// For tests, ORVANE_TEST_PAUSE_AT_YIELD=N makes the program stop at its N-th
// yield, say "paused at yield N" on standard error and wait (at most a minute)
// for a signal: a test can then send SIGINT at a known point of a run, and the
// outcome does not depend on timing.
class YieldHook {
 public:
  struct Actions {
    std::function<int()> interrupts;                   // signals so far
    std::function<void()> request_stop;                // ExportBreak
    std::function<void(const std::string&)> say;       // a line on standard error
    std::function<void(int seen)> wait_for_interrupt;  // the test pause
  };

  YieldHook(Actions actions, std::optional<int> pause_at_yield);

  void operator()();
  // True once the hook has asked the run to stop.
  bool stop_requested() const { return stop_requested_; }

 private:
  Actions actions_;
  std::optional<int> pause_at_yield_;
  int yields_ = 0;
  bool stop_requested_ = false;
};

// The yield at which to pause, from the value of ORVANE_TEST_PAUSE_AT_YIELD
// (a number from 1 on); nothing for an unset or unusable value.
std::optional<int> PauseAtYieldFrom(const char* value);

}  // namespace orvane::cli
