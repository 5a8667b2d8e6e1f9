#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "hosts/cli/results.h"

namespace orvane::cli {

// Members keep the order in which they are added, so "command" comes first.
using Json = nlohmann::ordered_json;

// The one JSON object each command prints with --json: "command", the
// arguments, "result" (the method's result number; itemcount's for list),
// the values handed back (for list, "items": each item's index,
// result, values and "error"), for export every event, "messages" (the
// component's message boxes) and "error" (null, or its number and description).
Json CountJson(const CountResult& count, const CallReport& report);
Json ListJson(const ListResult& list, const CallReport& report);
Json ItemJson(const ItemResult& item, const CallReport& report);
Json ExportItemJson(const ExportItemResult& item, const CallReport& report);
Json ExportJson(const ExportResult& run, const CallReport& report);

// The object on one line, UTF-8, ending in a line break.
std::string JsonLine(const Json& object);

}  // namespace orvane::cli
