#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace orvane::cli {

// Ctrl-C (SIGINT), SIGTERM and SIGHUP during an export or a listing. The
// handler only counts the signals: the first is acted on at the component's next
// yield (see YieldHook) or between items; the second ends the program at once
// with 128 + its number, the shell's status for "ended by that signal" (130 for
// Ctrl-C).
void InstallInterruptHandler();
// How many of those signals arrived since the handler was installed.
int InterruptCount();
// The line that says the run will stop, naming what to do to quit at once.
std::string StopNotice();
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
    std::function<std::string()> stop_notice;          // said once when stopping
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
