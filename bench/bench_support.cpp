#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "bench/bench_stores.h"
#include "hosts/assembly/standard_sources.h"
#include "platform/posix/address_book/json_address_book_library.h"
#include "platform/posix/mail_store/mail_store_object_model.h"
#include "platform/posix/mail_store/mail_store_parser.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/text_conversion.h"

namespace orvane::bench {
namespace {

namespace fs = std::filesystem;

class FixedFolder final : public ComponentLocation {
 public:
  explicit FixedFolder(std::u16string folder) : folder_(std::move(folder)) {}
  std::u16string ComponentFolder() override { return folder_; }

 private:
  std::u16string folder_;
};

class CountingMessageBox final : public MessageBox {
 public:
  void Show(const std::u16string&, MessageBoxKind) override { ++shown; }
  int shown = 0;
};

std::string MakeScratchFolder() {
  if (const char* chosen = std::getenv("ORVANE_BENCH_DIR"); chosen != nullptr && *chosen) {
    fs::create_directories(chosen);
    return fs::absolute(chosen).string();
  }
  std::string folder = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no scratch folder");
  return folder;
}

void Check(bool done, const char* what) {
  if (!done) throw std::runtime_error(std::string("bare loop: ") + what);
}

void WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    Check(written > 0, "write");
    bytes += written;
    size -= static_cast<size_t>(written);
  }
}

bool IsFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Copies `from` into a new file beside `to` and renames that over `to`.
void CopyBeside(const std::string& from, const std::string& folder, const std::string& name) {
  char buffer[64 * 1024];
  const int input = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  Check(input >= 0, "open");
  std::string temporary = folder + "/." + name + ".XXXXXX";
  const int output = ::mkostemp(temporary.data(), O_CLOEXEC);
  Check(output >= 0, "mkstemp");
  for (;;) {
    const ssize_t count = ::read(input, buffer, sizeof buffer);
    Check(count >= 0, "read");
    if (count == 0) break;
    WriteAll(output, buffer, static_cast<size_t>(count));
  }
  Check(::close(output) == 0 && ::close(input) == 0, "close");
  Check(::rename(temporary.c_str(), (folder + "/" + name).c_str()) == 0, "rename");
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = MakeScratchFolder();
  return folder;
}

std::string WriteScratchFile(const std::string& name, const std::string& text) {
  const std::string path = ScratchFolder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return path;
}

std::string AddressBookFile(int entries) {
  const std::string name = "address-book-" + std::to_string(entries) + ".json";
  const std::string path = ScratchFolder() + "/" + name;
  static std::set<int> written;
  if (written.insert(entries).second) WriteScratchFile(name, AddressBookText(entries));
  return path;
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

FolderContent ContentOf(const std::string& folder) {
  FolderContent content;
  std::error_code ignored;
  for (const auto& file : fs::directory_iterator(folder, ignored)) {
    ++content.files;
    content.bytes += static_cast<int64_t>(file.file_size(ignored));
  }
  return content;
}

struct BenchComponent::Parts {
  std::shared_ptr<CountingMessageBox> message_box = std::make_shared<CountingMessageBox>();
};

BenchComponent::BenchComponent(const std::string& address_book_file,
                               const std::string& mail_store_file)
    : parts_(std::make_unique<Parts>()) {
  PlatformServices services = posix::MakePosixPlatform();
  const std::string app = ScratchFolder() + "/app/";
  fs::create_directories(app);
  services.component_location = std::make_shared<FixedFolder>(posix::DecodeUtf8(app));
  services.code_page = std::make_shared<posix::PosixCodePage>(1252);
  services.message_box = parts_->message_box;
  services.address_book = posix::MakeJsonAddressBookLibrary(posix::JsonAddressBookSettings{
      services.code_page, services.time_zone, address_book_file,
      std::make_shared<posix::DocumentCache>(posix::MakePosixFileReader()),
      posix::ProcessEnvironment()});
  services.outlook = std::make_shared<posix::MailStoreObjectModel>(posix::MailStoreSettings{
      services.code_page, services.time_zone, mail_store_file,
      std::make_shared<posix::MailStoreCache>(posix::MakePosixFileReader(), posix::ParseMailStore),
      posix::ProcessEnvironment(), std::make_shared<posix::SystemCalls>()});
  module_ = std::make_unique<Module>(std::move(services), MakeStandardSources());
  object_ = std::make_unique<Orvane2>(*module_);
}

BenchComponent::~BenchComponent() = default;

int BenchComponent::messages_shown() const { return parts_->message_box->shown; }

void ResetPeakMemory() {
  // Linux resets the high-water mark of the resident set on "5".
  std::ofstream("/proc/self/clear_refs") << "5";
}

int64_t PeakMemoryBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

int64_t NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double SecondsSince(int64_t start_nanoseconds) {
  return static_cast<double>(NowNanoseconds() - start_nanoseconds) / 1e9;
}

namespace {

int64_t ProcessorNanoseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

Stopwatch::Stopwatch() : wall_start_(NowNanoseconds()), cpu_start_(ProcessorNanoseconds()) {}

Elapsed Stopwatch::Read() const {
  return {SecondsSince(wall_start_),
          static_cast<double>(ProcessorNanoseconds() - cpu_start_) / 1e9};
}

Elapsed BareExportLoop(int items, int64_t bytes_per_item, const std::string& working_folder,
                       const std::string& destination) {
  const std::string bytes(static_cast<size_t>(bytes_per_item), 'x');
  const Stopwatch stopwatch;
  for (int item = 1; item <= items; ++item) {
    const std::string name = "ExpressvCard" + std::to_string(item) + ".vcf";
    const std::string working = working_folder + "/" + name;
    const int fd = ::open(working.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    Check(fd >= 0, "open");
    WriteAll(fd, bytes.data(), bytes.size());
    Check(::close(fd) == 0, "close");
    Check(IsFile(working), "test");
    CopyBeside(working, destination, name);
    Check(IsFile(working), "test");
    Check(::unlink(working.c_str()) == 0, "unlink");
  }
  return stopwatch.Read();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void ReportPerItem(benchmark::State& state, double seconds_per_item) {
  state.counters["per_item_us"] = seconds_per_item * 1e6;
}

void ReportFloor(benchmark::State& state, double seconds_per_item, double ratio,
                 double cpu_ratio) {
  state.counters["floor_per_item_us"] = seconds_per_item * 1e6;
  state.counters["ratio"] = ratio;
  state.counters["cpu_ratio"] = cpu_ratio;
}

void ReportTotal(benchmark::State& state, double seconds) {
  state.counters["total_ms"] = seconds * 1e3;
}

void ReportPeakMemory(benchmark::State& state, int64_t bytes) {
  state.counters["peak_mb"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace orvane::bench
