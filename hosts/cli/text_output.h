#pragma once

#include <string>
#include <vector>

#include "hosts/cli/results.h"

namespace orvane::cli {

// What each command prints on standard output in text form. Nothing when the
// command failed or the type has no source, except for export, whose summary
// says what was written whenever Export2 returned 0, and list, which shows
// every item it asked for, failed ones with their error.
std::string CountText(const CountResult& count, const CallReport& report);
std::string ListText(const ListResult& list, const CallReport& report);
std::string ItemText(const ItemResult& item, const CallReport& report);
std::string ExportItemText(const ExportItemResult& item, const CallReport& report);
std::string ExportText(const ExportResult& run, const CallReport& report);

// "1 item", "3 items".
std::string Items(int count);

// The lines for standard error (without the "orvane: " the console adds):
//   "error 76: Path not found", or "error: <description>" without a number,
//   then the hints.
std::vector<std::string> FailureLines(const Failure& failure);

}  // namespace orvane::cli
