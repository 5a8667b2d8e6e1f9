#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "component/export_source.h"
#include "component/shared_state.h"
#include "platform/platform_services.h"

namespace orvane {

// The source behind each export type; a type without one does nothing.
struct ExportSources {
  std::unique_ptr<ExportSource> outlook_contacts;  // export type 1
  std::unique_ptr<ExportSource> outlook_calendar;  // export type 2
  std::unique_ptr<ExportSource> address_book;      // export type 3
};

// The loaded component: the platform it runs on, its sources, and one set of
// shared state per thread that uses it. Hosts assemble it from their parts.
class Module {
 public:
  Module(PlatformServices platform, ExportSources sources);
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
