#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "component/export_source.h"
#include "component/shared_state.h"
#include "platform/platform_services.h"

namespace orvane {

// The loaded component: the platform it runs on, its sources, and one set of
// shared state per thread that uses it.
class Module {
 public:
  // The standard sources: the mail client's contacts and calendar, the address book.
  explicit Module(PlatformServices platform);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const PlatformServices& platform() const { return platform_; }

  // The calling thread's shared state, created empty on first use.
  SharedState& ThreadState();

  // The source of an export type; null for any type but 1, 2 and 3.
  ExportSource* SourceFor(int16_t ExportType);
  // Replaces the source of a type (tests put stand-ins there).
  void SetSource(int16_t ExportType, std::unique_ptr<ExportSource> source);

 private:
  PlatformServices platform_;
  std::array<std::unique_ptr<ExportSource>, 3> sources_;
  uint64_t id_;
};

}  // namespace orvane
