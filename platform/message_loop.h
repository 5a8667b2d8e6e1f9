#pragma once

#include <functional>
#include <utility>

namespace orvane {

// The yield to the host's pending messages. A whole export yields once per item;
// this is where a host's stop request (and any other pending work) runs.
class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  virtual void YieldToPendingMessages() = 0;
};

// A message loop that runs whatever hook the host installed, or nothing.
class HookMessageLoop final : public MessageLoop {
 public:
  void SetHook(std::function<void()> hook) { hook_ = std::move(hook); }
  void YieldToPendingMessages() override {
    if (hook_) hook_();
  }

 private:
  std::function<void()> hook_;
};

}  // namespace orvane
