#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "component/module.h"
#include "component/orvane2.h"
#include "hosts/assembly/standard_sources.h"
#include "platform/posix/address_book/json_address_book.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_file_time.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/temporary_folder.h"

namespace orvane::testing {
namespace {

// An address book of `count` entries named `prefix` and a number.
std::string Book(const std::string& prefix, int count) {
  std::string json = "{\"entries\": [";
  for (int i = 1; i <= count; ++i) {
    json += (i > 1 ? "," : "") + std::string("{\"properties\": [[\"PR_DISPLAY_NAME\", \"") +
            prefix + std::to_string(i) + "\"], [\"PR_COMMENT\", \"line\\r\\nnext\"]]}";
  }
  return json + "]}";
}

// One loaded component per book, both working beside one program folder, the
// way two hosts in one process would.
struct BookComponent {
  BookComponent(const TemporaryFolder& folder, const std::string& book) {
    auto code_page = std::make_shared<posix::PosixCodePage>(1252);
    auto zone = std::make_shared<FixedTimeZone>();
    FakePlatform fake;
    PlatformServices services = fake.services();
    services.file_systems =
        std::make_shared<posix::PosixFileSystemFactory>(std::make_shared<posix::SystemCalls>(),
                                                        folder.path() + "/tmpdir");
    services.component_location = std::make_shared<FixedLocation>(folder.Path16("app"));
    services.code_page = code_page;
    services.time_zone = zone;
    services.file_times = std::make_shared<posix::PosixFileTimeConverter>();
    services.address_book =
        posix::MakeJsonAddressBookLibrary(code_page, zone, folder.path() + "/" + book);
    module = std::make_unique<Module>(services, MakeStandardSources());
  }
  std::unique_ptr<Module> module;
};

// Four threads, each with its own object, two on each of two books, export over
// and over into their own folders: every run is whole and sees only its own work.
TEST(Threads, FourThreadsExportDifferentBooksAtOnce) {
  TemporaryFolder folder;
  folder.WriteFile("a.json", Book("Ann ", 40));
  folder.WriteFile("b.json", Book("Bo ", 25));
  folder.MakeFolder("app");
  folder.MakeFolder("tmpdir");
  BookComponent a(folder, "a.json"), b(folder, "b.json");
  const struct { Module* module; std::string prefix; int count; } plans[] = {
      {a.module.get(), "Ann ", 40}, {a.module.get(), "Ann ", 40},
      {b.module.get(), "Bo ", 25},  {b.module.get(), "Bo ", 25}};
  constexpr int kRuns = 6;

  std::vector<std::vector<int32_t>> results(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      Orvane2 component(*plans[t].module);
      for (int run = 0; run < kRuns; ++run) {
        const std::u16string out = folder.Path16("out" + std::to_string(t));
        results[t].push_back(component.Export2(out, u"", 3, std::nullopt, u"run.log", out));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < 4; ++t) {
    SCOPED_TRACE(t);
    EXPECT_EQ(results[t], std::vector<int32_t>(kRuns, 0));
    const std::string out = "out" + std::to_string(t);
    const int count = plans[t].count;
    for (int i = 1; i <= count; ++i) {
      const std::string card = folder.ReadFile(out + "/ExpressvCard" + std::to_string(i) + ".vcf");
      EXPECT_NE(card.find("FN:" + plans[t].prefix + std::to_string(i) + "\r\n"), std::string::npos)
          << i;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/" + out + "/ExpressvCard" +
                                         std::to_string(count + 1) + ".vcf"));
    const std::string log = folder.ReadFile(out + "/run.log");
    size_t blocks = 0;
    for (size_t at = log.find("Export Data Count:" + std::to_string(count) + "\r\n");
         at != std::string::npos; at = log.find("Export Data Count:", at + 1)) {
      ++blocks;
    }
    EXPECT_EQ(blocks, static_cast<size_t>(kRuns));
    EXPECT_EQ(log.find(t < 2 ? "Bo " : "Ann "), std::string::npos) << "another run's lines";
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() + "/app/tmp") &&
               !std::filesystem::is_empty(folder.path() + "/app/tmp"));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path() + "/tmpdir"));
}

}  // namespace
}  // namespace orvane::testing
