#include "hosts/cli/interrupt.h"

#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <csignal>
#include <cstring>

namespace orvane::cli {
namespace {

volatile std::sig_atomic_t interrupts = 0;
volatile std::sig_atomic_t first_signal = 0;

constexpr std::array kStopSignals = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalStatusBase = 128;

extern "C" void OnInterrupt(int signal) {
  if (interrupts == 0) first_signal = signal;
  interrupts = interrupts + 1;
  if (interrupts >= 2) {
    // Ends the progress bar's line, so that the shell prompt starts on its own.
    const ssize_t ignored = ::write(STDERR_FILENO, "\n", 1);
    (void)ignored;
    ::_exit(kSignalStatusBase + signal);
  }
}

// The stop signals held back while the caller examines the count, so that one
// arriving in between is not missed; restored when this ends.
class BlockedInterrupt {
 public:
  BlockedInterrupt() {
    sigset_t stop;
    sigemptyset(&stop);
    for (const int signal : kStopSignals) sigaddset(&stop, signal);
    sigprocmask(SIG_BLOCK, &stop, &previous_);
    while_waiting_ = previous_;
    for (const int signal : kStopSignals) sigdelset(&while_waiting_, signal);
  }
  ~BlockedInterrupt() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  BlockedInterrupt(const BlockedInterrupt&) = delete;
  BlockedInterrupt& operator=(const BlockedInterrupt&) = delete;

  // Sleeps with the stop signals let through, until a signal arrives or `limit` passes.
  void Sleep(std::chrono::milliseconds limit) const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit);
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(seconds.count());
    timeout.tv_nsec = static_cast<long>((limit - seconds).count()) * 1000000L;
    ::pselect(0, nullptr, nullptr, nullptr, &timeout, &while_waiting_);
  }

 private:
  sigset_t previous_;
  sigset_t while_waiting_;
};

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
  action.sa_flags = SA_RESTART;
  for (const int signal : kStopSignals) {
    // A signal ignored from the start stays ignored: "nohup orvane export" must
    // not stop when the terminal goes.
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

int InterruptCount() { return interrupts; }

std::string StopNotice() {
  if (first_signal == SIGINT) {
    return "stopping after the current item; press Ctrl-C again to quit at once";
  }
  const std::string name = first_signal == SIGTERM ? "SIGTERM" : "SIGHUP";
  return "stopping after the current item on " + name + "; a second one quits at once";
}

bool WaitForInterrupt(int seen, std::chrono::milliseconds limit) {
  const BlockedInterrupt blocked;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (interrupts <= seen) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    blocked.Sleep(left);
  }
  return true;
}

YieldHook::YieldHook(Actions actions, std::optional<int> pause_at_yield)
    : actions_(std::move(actions)), pause_at_yield_(pause_at_yield) {}

void YieldHook::operator()() {
  ++yields_;
  if (yields_ == pause_at_yield_) {
    const int seen = actions_.interrupts();
    actions_.say("paused at yield " + std::to_string(yields_) + "; waiting for a signal");
    actions_.wait_for_interrupt(seen);
  }
  if (stop_requested_ || actions_.interrupts() == 0) return;
  actions_.request_stop();
  stop_requested_ = true;
  actions_.say(actions_.stop_notice());
}

std::optional<int> PauseAtYieldFrom(const char* value) {
  if (value == nullptr) return std::nullopt;
  const char* end = value + std::strlen(value);
  int yield = 0;
  const auto [stop, failure] = std::from_chars(value, end, yield);
  if (failure != std::errc{} || stop != end || yield < 1) return std::nullopt;
  return yield;
}

}  // namespace orvane::cli
