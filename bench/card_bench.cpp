// Card composition: the address-book vCard writer on one entry, values read
// through the address-book library as in an export.

#include <benchmark/benchmark.h>

#include "addressbook/vcard_writer.h"
#include "addressbook/wab_session.h"
#include "bench/bench_stores.h"
#include "bench/bench_support.h"
#include "component/call_context.h"

namespace orvane::bench {
namespace {

void ComposeCards(benchmark::State& state, const std::string& properties) {
  const std::string file = WriteScratchFile("card.json", OneEntryAddressBook(properties));
  BenchComponent component(file, {});
  CallContext context(component.module().ThreadState(), component.module().platform(),
                      [](int16_t, const std::u16string&) {});
  WabSession session(context, WabSession::OnFailedOpen::kLeaveClosed);
  if (!session.IsOpen() || session.FetchEntries(session.CountEntries()) != 1) {
    return state.SkipWithError("the one-entry address book cannot be opened");
  }
  const float offset = OperationUtcOffsetHours(context);
  size_t characters = 0;
  for (auto _ : state) {
    const std::u16string card = BuildWabVCard(context, 1, offset, 1);
    characters = card.size();
    benchmark::DoNotOptimize(card.data());
  }
  state.counters["card_chars"] = static_cast<double>(characters);
}

void BM_CardFullEntry(benchmark::State& state) { ComposeCards(state, FullEntryProperties()); }
void BM_CardMinimalEntry(benchmark::State& state) {
  ComposeCards(state, MinimalEntryProperties());
}

BENCHMARK(BM_CardFullEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CardMinimalEntry)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane::bench
