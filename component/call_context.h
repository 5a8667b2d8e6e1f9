#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "component/shared_state.h"
#include "platform/platform_services.h"

namespace orvane {

// What a source works with during one public call: the thread's shared state,
// the platform, the message catalogue in the user's language and the events of
// the object that was called.
class CallContext {
 public:
  using EventRaiser = std::function<void(int16_t kind, const std::u16string& result)>;

  CallContext(SharedState& shared_state, const PlatformServices& services, EventRaiser raise)
      : state(shared_state), platform(services), raise_(std::move(raise)) {}

  SharedState& state;
  const PlatformServices& platform;

  // Message `id` of the catalogue in the user's interface language.
  std::u16string Message(uint16_t id) const;

  // Kind 0 raises ExportProgress from the run state; kind 1 raises ExportDone
  // with `result` (the pending error's description, or empty); others do nothing.
  void RaiseExportEvent(int16_t kind, const std::u16string& result = {}) const;

  // Lets the host's pending work run (above all a stop request).
  void YieldToHost() const;

  // The component's folder, always ending in the separator.
  std::u16string BaseFolder() const;
  char16_t Separator() const { return platform.path_separator; }

 private:
  EventRaiser raise_;
};

}  // namespace orvane
