#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/address_book_library.h"
#include "platform/file_system.h"
#include "platform/outlook_object_model.h"

namespace orvane {

// The CombineMode in which a run also gathers every item into one file.
inline constexpr int16_t kCombineIntoOneFile = 1;

// The module-wide variables of the component: one set per thread, shared by
// every Orvane2 object on that thread and kept between calls and runs.
struct SharedState {
  std::unique_ptr<FileSystem> FileSys;
  std::u16string ExportDestination;  // ends in the separator
  std::u16string TempFolder;         // ends in the separator
  std::u16string ExportFileName;
  bool LogEnabled = false;
  std::u16string LogFileName;
  std::u16string LogFilePath;  // ends in the separator
  std::u16string LogText;
  std::u16string ProgressText;
  int16_t CurrentCount = 0;
  int16_t TotalCount = 0;
  int16_t CombineMode = 0;
  bool BreakRequested = false;

  // The mail client's session, replaced at every OpenOutlook.
  std::shared_ptr<OutlookApplication> OutlookApp;
  std::shared_ptr<orvane::OutlookNamespace> OutlookNamespace;

  // The address-book library session; WabEntries[0] is never filled.
  orvane::WabContext WabContext;
  std::vector<WabEntry> WabEntries = std::vector<WabEntry>(1);

  // True while Export2 runs on this thread; calls that would disturb the run are refused.
  bool RunActive = false;
};

}  // namespace orvane
