// Listing items one by one as a host does, opening a store, and one call of
// the command line.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "bench/bench_stores.h"
#include "bench/bench_support.h"
#include "platform/posix/address_book/document_cache.h"

extern char** environ;

namespace orvane::bench {
namespace {

constexpr int16_t kAddressBook = 3;

// GetItem for every index, as a host fills its list; each call opens and
// closes the library.
void BM_GetItemEveryIndex(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  BenchComponent component(AddressBookFile(entries), {});
  Orvane2& orvane = component.object();
  std::u16string title;
  AutomationDate modified = 0;
  if (orvane.GetItem(1, kAddressBook, title, modified) != 0) {
    return state.SkipWithError("GetItem failed");
  }
  std::vector<double> rounds;
  for (auto _ : state) {
    const int64_t start = NowNanoseconds();
    for (int index = 1; index <= entries; ++index) {
      if (orvane.GetItem(static_cast<int16_t>(index), kAddressBook, title, modified) != 0) {
        return state.SkipWithError("GetItem failed");
      }
    }
    rounds.push_back(SecondsSince(start));
    state.SetIterationTime(rounds.back());
  }
  ReportPerItem(state, Median(rounds) / entries);
  ReportTotal(state, Median(rounds));
}

void BM_ItemCount(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  BenchComponent component(AddressBookFile(entries), {});
  Orvane2& orvane = component.object();
  for (auto _ : state) {
    if (orvane.itemcount(kAddressBook) != entries) return state.SkipWithError("wrong count");
  }
}

// Read, parsed and ready: what the first call of a process waits for.
void BM_OpenAddressBook(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string file = AddressBookFile(entries);
  std::vector<double> rounds;
  int64_t peak_memory = 0;
  for (auto _ : state) {
    posix::DocumentCache cache(posix::MakePosixFileReader());
    ResetPeakMemory();
    const int64_t start = NowNanoseconds();
    const posix::LoadedDocument loaded = cache.Load(file);
    rounds.push_back(SecondsSince(start));
    peak_memory = std::max(peak_memory, PeakMemoryBytes());
    if (!loaded.document) return state.SkipWithError(loaded.failure.c_str());
    state.SetIterationTime(rounds.back());
  }
  ReportPerItem(state, Median(rounds) / entries);
  ReportTotal(state, Median(rounds));
  ReportPeakMemory(state, peak_memory);
  state.counters["store_mb"] =
      static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
}

// One `orvane item 3 N` process, from its start to its end.
void BM_CommandLineItem(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string file = AddressBookFile(entries);
  const std::string index = std::to_string(entries / 2);
  std::vector<std::string> words = {ORVANE_COMMAND_LINE, "item", "3", index,
                                    "--address-book", file};
  std::vector<char*> arguments;
  for (std::string& word : words) arguments.push_back(word.data());
  arguments.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  std::vector<double> rounds;
  for (auto _ : state) {
    const int64_t start = NowNanoseconds();
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, arguments[0], &quiet, nullptr, arguments.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      posix_spawn_file_actions_destroy(&quiet);
      return state.SkipWithError("the command failed");
    }
    rounds.push_back(SecondsSince(start));
    state.SetIterationTime(rounds.back());
  }
  posix_spawn_file_actions_destroy(&quiet);
  ReportTotal(state, Median(rounds));
}

BENCHMARK(BM_GetItemEveryIndex)->Arg(10'000)->Iterations(3)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemCount)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenAddressBook)->Arg(10'000)->Arg(32'767)->Iterations(5)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandLineItem)->Arg(10'000)->Iterations(5)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane::bench
