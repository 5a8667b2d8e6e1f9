#pragma once

// The component over the platform fakes with the in-memory mail client in place:
// single items go to /out, whole runs to /out with the log in /app/run.log.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component/module.h"
#include "component/orvane2.h"
#include "outlook/outlook_source.h"
#include "platform/error.h"
#include "tests/fakes/fake_outlook.h"
#include "tests/fakes/fake_platform.h"

namespace orvane::testing {

using Files = std::vector<std::u16string>;
using Events = std::vector<std::string>;
using Boxes = std::vector<std::pair<std::u16string, MessageBoxKind>>;

constexpr int16_t kContacts = 1;
constexpr int16_t kCalendar = 2;
const std::string kStart = "[Export starting time:06.12.2026 09:05:07]\r\n";
// The folder the first run of a test works in.
const std::u16string kWorking = u"/app/tmp/run-1/";

// Log lines of exported items, numbered from `first`.
inline std::string Logged(int first, const std::vector<std::string>& names) {
  std::string lines;
  for (const std::string& name : names) lines += std::to_string(first++) + "\x01" + name + "\r\n";
  return lines;
}

// The last lines of the log of a run that was not cut short by an error.
inline std::string EndLines(int count, const std::string& notice) {
  return "Export Data Count:" + std::to_string(count) + "\r\n" + notice + "\r\n";
}

// The last event of a run that ended well, and of one that failed with `error`.
const std::string kDone = "done [] [/app/run.log]";
inline std::string DoneWith(int32_t error) {
  return "done [" + Narrow(DescriptionOf(error)) + "] [/app/run.log]";
}

inline std::pair<std::u16string, MessageBoxKind> Critical(const std::u16string& text) {
  return {text, MessageBoxKind::kCritical};
}

// The files of a run's items 1 to `count` (fewer than ten: in the order a folder lists them).
inline Files Numbered(int16_t ExportType, size_t count) {
  const bool contacts = ExportType == kContacts;
  Files files;
  for (size_t n = 1; n <= count; ++n) {
    files.push_back((contacts ? u"OutlookvCard" : u"OutlookvCal") + Widen(std::to_string(n)) +
                    (contacts ? u".vcf" : u".vcs"));
  }
  return files;
}

struct OutlookComponent {
  OutlookComponent() { component.Advise(events); }

  PlatformServices Services() {
    fake.outlook = mail;
    fake.disk->AddFolder(u"/out");
    return fake.services();
  }

  int32_t Export(int16_t ExportType, std::optional<int16_t> ExportMode = std::nullopt) {
    return component.Export2(u"/out", u"", ExportType, ExportMode, u"run.log");
  }
  // Makes `operation` on `path` fail with `error`, `times` times.
  void Fail(const std::string& operation, const std::u16string& path, int32_t error,
            int times = 1000) {
    fake.disk->before = [=](const std::string& done, const std::u16string& on) mutable {
      if (done == operation && on == path && times-- > 0) throw Error(error);
    };
  }
  std::string File(const std::u16string& path) const {
    const auto found = fake.disk->files.find(path);
    return found == fake.disk->files.end() ? "(no file)" : found->second;
  }
  std::string Log() const { return File(u"/app/run.log"); }
  Files Destination() const { return fake.disk->List(u"/out"); }
  // /out holds exactly the numbered files of a run of `ExportType`, those of these items in
  // this order.
  void ExpectWritten(int16_t ExportType, const std::vector<std::string>& names) const {
    const Files files = Numbered(ExportType, names.size());
    EXPECT_EQ(Destination(), files);
    const std::string kind = ExportType == kContacts ? "vCard of " : "vCalendar of ";
    for (size_t k = 0; k < names.size(); ++k) {
      EXPECT_EQ(File(u"/out/" + files[k]), kind + names[k] + "\r\n");
    }
  }
  // Counts the yields to the host from here on.
  void CountYields() {
    fake.message_loop->SetHook([this] { ++yields; });
  }
  // Notes, at every progress event, whether the working folder holds a file.
  void WatchWorkingFolder() {
    events->on_event = [this](const std::string& line) {
      if (line.rfind("progress", 0) == 0 && !fake.disk->List(kWorking).empty()) {
        working_files_seen.push_back(line);
      }
    };
  }

  FakePlatform fake;
  std::shared_ptr<FakeOutlook> mail = std::make_shared<FakeOutlook>(fake.disk);
  Module module{Services(), {MakeOutlookSource(kContacts), MakeOutlookSource(kCalendar), nullptr}};
  Orvane2 component{module};
  std::shared_ptr<RecordingEvents> events = std::make_shared<RecordingEvents>();
  int yields = 0;
  std::vector<std::string> working_files_seen;
};

}  // namespace orvane::testing
