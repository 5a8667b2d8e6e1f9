#include "hosts/cli/interrupt.h"

#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <charconv>
#include <csignal>
#include <cstring>

namespace orvane::cli {
namespace {

volatile std::sig_atomic_t interrupts = 0;

constexpr int kInterruptedStatus = 130;

extern "C" void OnInterrupt(int) {
  interrupts = interrupts + 1;
  if (interrupts >= 2) {
    // Ends the progress bar's line, so that the shell prompt starts on its own.
    const ssize_t ignored = ::write(STDERR_FILENO, "\n", 1);
    (void)ignored;
    ::_exit(kInterruptedStatus);
  }
}

// SIGINT held back while the caller examines the count, so that one arriving in
// between is not missed; restored when this ends.
class BlockedInterrupt {
 public:
  BlockedInterrupt() {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigprocmask(SIG_BLOCK, &interrupt, &previous_);
    while_waiting_ = previous_;
    sigdelset(&while_waiting_, SIGINT);
  }
  ~BlockedInterrupt() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  BlockedInterrupt(const BlockedInterrupt&) = delete;
  BlockedInterrupt& operator=(const BlockedInterrupt&) = delete;

  // Sleeps with SIGINT let through, until a signal arrives or `limit` passes.
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
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

int InterruptCount() { return interrupts; }

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
  actions_.say("stopping after the current item; press Ctrl-C again to quit at once");
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
