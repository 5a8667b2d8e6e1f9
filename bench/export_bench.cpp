// Whole exports through Export2 into a fresh destination, each run followed
// (or preceded, in turn) by the bare loop of the same file work in the same
// process, so that both meet the same state of the disk.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "bench/bench_stores.h"
#include "bench/bench_support.h"
#include "platform/posix/text_conversion.h"

namespace orvane::bench {
namespace {

constexpr int16_t kOutlookContacts = 1;
constexpr int16_t kOutlookCalendar = 2;
constexpr int16_t kAddressBook = 3;
constexpr int kMailItems = 10'000;

const std::string& MailStore() {
  static const std::string path =
      WriteScratchFile("mail-store.json", MailStoreText(kMailItems, kMailItems));
  return path;
}

struct ExportCase {
  int16_t type;
  int items;
  std::string address_book;
  std::string mail_store;
  std::string store_file() const { return type == kAddressBook ? address_book : mail_store; }
};

// One run of the component into a new destination; the time it took, or
// nothing when it failed.
std::optional<Elapsed> RunExport(const ExportCase& run, const std::string& destination,
                                 int64_t& peak_memory, int64_t& bytes_per_item) {
  BenchComponent component(run.address_book, run.mail_store);
  ResetPeakMemory();
  const Stopwatch stopwatch;
  const int32_t result = component.object().Export2(posix::DecodeUtf8(destination), u"",
                                                    run.type, std::nullopt, u"", u"");
  const Elapsed elapsed = stopwatch.Read();
  peak_memory = std::max(peak_memory, PeakMemoryBytes());
  const FolderContent written = ContentOf(destination);
  if (result != 0 || written.files != run.items || component.messages_shown() != 0) {
    return std::nullopt;
  }
  bytes_per_item = written.bytes / run.items;
  return elapsed;
}

Elapsed RunFloor(const ExportCase& run, int64_t bytes_per_item, const std::string& destination) {
  const std::string working = destination + "-working";
  std::filesystem::create_directories(destination);
  std::filesystem::create_directories(working);
  return BareExportLoop(run.items, bytes_per_item, working, destination);
}

// Each side writes into folders of its own that no one has used, and they are
// removed only after the last measurement: removing thousands of files just
// before a run makes the file system slower at making new ones for a while.
void ExportAgainstFloor(benchmark::State& state, const ExportCase& run) {
  const std::string outputs = ScratchFolder() + "/outputs";
  std::filesystem::create_directories(outputs);
  int folders = 0;
  const auto new_folder = [&] { return outputs + "/" + std::to_string(++folders); };
  std::vector<double> runs, floors, ratios, cpu_ratios;
  int64_t peak_memory = 0;
  int64_t bytes_per_item = 0;
  for (auto _ : state) {
    // The order changes each time, so that neither side always meets a disk
    // the other has just worked.
    const bool floor_first = runs.size() % 2 == 1 && bytes_per_item > 0;
    std::optional<Elapsed> floor;
    if (floor_first) floor = RunFloor(run, bytes_per_item, new_folder());
    const std::optional<Elapsed> elapsed =
        RunExport(run, new_folder(), peak_memory, bytes_per_item);
    if (!elapsed) {
      RemoveTree(outputs);
      return state.SkipWithError("the export failed or missed items");
    }
    if (!floor_first) floor = RunFloor(run, bytes_per_item, new_folder());
    state.SetIterationTime(elapsed->wall);
    runs.push_back(elapsed->wall);
    floors.push_back(floor->wall);
    ratios.push_back(elapsed->wall / floor->wall);
    cpu_ratios.push_back(elapsed->cpu / floor->cpu);
  }
  RemoveTree(outputs);
  ReportPerItem(state, Median(runs) / run.items);
  ReportFloor(state, Median(floors) / run.items, Median(ratios), Median(cpu_ratios));
  ReportTotal(state, Median(runs));
  ReportPeakMemory(state, peak_memory);
  state.counters["store_mb"] =
      static_cast<double>(std::filesystem::file_size(run.store_file())) / (1024.0 * 1024.0);
}

void BM_AddressBookExport(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  ExportAgainstFloor(state, {kAddressBook, entries, AddressBookFile(entries), {}});
}

void BM_MailContactsExport(benchmark::State& state) {
  ExportAgainstFloor(state, {kOutlookContacts, kMailItems, {}, MailStore()});
}

void BM_MailCalendarExport(benchmark::State& state) {
  ExportAgainstFloor(state, {kOutlookCalendar, kMailItems, {}, MailStore()});
}

// Alternations per process; the command runs each case three times.
BENCHMARK(BM_AddressBookExport)->Arg(1'000)->Iterations(5)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressBookExport)->Arg(10'000)->Iterations(3)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressBookExport)->Arg(32'767)->Iterations(2)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MailContactsExport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MailCalendarExport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane::bench
