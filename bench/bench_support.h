#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "component/module.h"
#include "component/orvane2.h"

namespace orvane::bench {

// The folder the benchmarks work in: $ORVANE_BENCH_DIR, else a new folder in
// the temporary folder. Everything a benchmark writes goes below it.
const std::string& ScratchFolder();
// Writes `text` to `name` in the scratch folder; returns the file's path.
std::string WriteScratchFile(const std::string& name, const std::string& text);
// The address book of `entries` entries (AddressBookText), written once a process.
std::string AddressBookFile(int entries);
// Removes a folder with everything in it; nothing when it is not there.
void RemoveTree(const std::string& path);
// The number of files in a folder and their size in bytes.
struct FolderContent {
  int64_t files = 0;
  int64_t bytes = 0;
};
FolderContent ContentOf(const std::string& folder);

// The component as the command line assembles it over this machine's services,
// with its component folder in the scratch folder, code page 1252, and store
// caches of its own: a new BenchComponent reads its stores afresh.
class BenchComponent {
 public:
  BenchComponent(const std::string& address_book_file, const std::string& mail_store_file);
  ~BenchComponent();

  Module& module() { return *module_; }
  Orvane2& object() { return *object_; }
  // The messages the component showed (a failed copy shows one).
  int messages_shown() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<Orvane2> object_;
};

// The peak resident memory of this process since the last reset, in bytes.
void ResetPeakMemory();
int64_t PeakMemoryBytes();

double SecondsSince(int64_t start_nanoseconds);
int64_t NowNanoseconds();

// Wall-clock seconds and the seconds of processor time this process spent
// (user and system): the second is less at the mercy of what other processes
// on the machine do with the disk.
struct Elapsed {
  double wall = 0;
  double cpu = 0;
};

class Stopwatch {
 public:
  Stopwatch();
  Elapsed Read() const;

 private:
  int64_t wall_start_;
  int64_t cpu_start_;
};

// The file work a whole export cannot do without, item by item, in bare calls:
// write a working file of `bytes_per_item` bytes in `working_folder`, test it,
// copy it into `destination` beside its target and rename it over the target,
// test it, delete it.
Elapsed BareExportLoop(int items, int64_t bytes_per_item, const std::string& working_folder,
                       const std::string& destination);

double Median(std::vector<double> values);

// Counters every case reports, read by the table of scripts/bench.sh.
void ReportPerItem(benchmark::State& state, double seconds_per_item);
void ReportFloor(benchmark::State& state, double seconds_per_item, double ratio,
                 double cpu_ratio);
void ReportTotal(benchmark::State& state, double seconds);
void ReportPeakMemory(benchmark::State& state, int64_t bytes);

}  // namespace orvane::bench
