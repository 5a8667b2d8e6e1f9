#include "component/module.h"

#include <atomic>
#include <unordered_map>
#include <utility>


namespace orvane {
namespace {

std::atomic<uint64_t> next_module_id{1};

// Each thread keeps one state per loaded module, as a COM apartment keeps the
// module-wide variables of an apartment-threaded component.
std::unordered_map<uint64_t, std::unique_ptr<SharedState>>& ThreadStates() {
  thread_local std::unordered_map<uint64_t, std::unique_ptr<SharedState>> states;
  return states;
}

}  // namespace

Module::Module(PlatformServices platform, ExportSources sources)
    : platform_(std::move(platform)),
      sources_{std::move(sources.outlook_contacts), std::move(sources.outlook_calendar),
               std::move(sources.address_book)},
      id_(next_module_id.fetch_add(1)) {}

Module::~Module() { ThreadStates().erase(id_); }

SharedState& Module::ThreadState() {
  std::unique_ptr<SharedState>& state = ThreadStates()[id_];
  if (!state) state = std::make_unique<SharedState>();
  return *state;
}

ExportSource* Module::SourceFor(int16_t ExportType) {
  if (ExportType < 1 || ExportType > 3) return nullptr;
  return sources_[ExportType - 1].get();
}

void Module::SetSource(int16_t ExportType, std::unique_ptr<ExportSource> source) {
  if (ExportType >= 1 && ExportType <= 3) sources_[ExportType - 1] = std::move(source);
}

}  // namespace orvane
