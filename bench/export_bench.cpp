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

// One run of the component; the seconds it took, or nothing when it failed.
std::optional<double> RunExport(const ExportCase& run, const std::string& destination,
                                int64_t& peak_memory, int64_t& bytes_per_item) {
  RemoveTree(destination);
  BenchComponent component(run.address_book, run.mail_store);
  ResetPeakMemory();
  const int64_t start = NowNanoseconds();
  const int32_t result = component.object().Export2(posix::DecodeUtf8(destination), u"",
                                                    run.type, std::nullopt, u"", u"");
  const double seconds = SecondsSince(start);
  peak_memory = std::max(peak_memory, PeakMemoryBytes());
  const FolderContent written = ContentOf(destination);
  if (result != 0 || written.files != run.items || component.messages_shown() != 0) {
    return std::nullopt;
  }
  bytes_per_item = written.bytes / run.items;
  RemoveTree(destination);
  return seconds;
}

double RunFloor(const ExportCase& run, int64_t bytes_per_item, const std::string& destination) {
  const std::string working = ScratchFolder() + "/app/tmp/floor";
  RemoveTree(destination);
  RemoveTree(working);
  std::filesystem::create_directories(destination);
  std::filesystem::create_directories(working);
  const double seconds = BareExportLoop(run.items, bytes_per_item, working, destination);
  RemoveTree(destination);
  RemoveTree(working);
  return seconds;
}

void ExportAgainstFloor(benchmark::State& state, const ExportCase& run) {
  const std::string destination = ScratchFolder() + "/out";
  std::vector<double> runs, floors, ratios;
  int64_t peak_memory = 0;
  int64_t bytes_per_item = 0;
  for (auto _ : state) {
    // The order changes each time, so that neither side always meets a disk
    // the other has just worked.
    const bool floor_first = runs.size() % 2 == 1 && bytes_per_item > 0;
    std::optional<double> floor;
    if (floor_first) floor = RunFloor(run, bytes_per_item, destination);
    const std::optional<double> seconds = RunExport(run, destination, peak_memory, bytes_per_item);
    if (!seconds) return state.SkipWithError("the export failed or missed items");
    if (!floor_first) floor = RunFloor(run, bytes_per_item, destination);
    state.SetIterationTime(*seconds);
    runs.push_back(*seconds);
    floors.push_back(*floor);
    ratios.push_back(*seconds / *floor);
  }
  ReportPerItem(state, Median(runs) / run.items);
  ReportFloor(state, Median(floors) / run.items, Median(ratios));
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
