#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/clock.h"

namespace orvane::cli {

// What a command could not do, for standard error and the JSON "error" member.
// All texts are UTF-8 on one line.
struct Failure {
  std::optional<int32_t> number;  // the error number, when there is one
  std::string description;
  std::vector<std::string> hints;  // further lines: what to do about it

  friend bool operator==(const Failure&, const Failure&) = default;
};

// A message box the component showed during the call.
struct ShownMessage {
  bool critical = false;
  std::string text;

  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// What every command reports besides its own values.
struct CallReport {
  std::vector<ShownMessage> messages;
  std::optional<Failure> failure;  // nothing: the command did what was asked
};

struct CountResult {
  int16_t type = 0;
  int16_t result = 0;  // the count, or -1
};

// What GetItem handed back for one item. A ModifyTime of 0, automation's empty
// date (1899-12-30 00:00), is what a source gives an item without one.
struct ItemValues {
  int32_t result = 0;
  std::u16string title;
  AutomationDate modify_time = 0;
};

struct ItemResult {
  int16_t type = 0;
  int16_t index = 0;
  ItemValues values;
};

struct ListedItem {
  int16_t index = 0;
  ItemValues values;
};

struct ListResult {
  int16_t type = 0;
  int16_t count = 0;  // itemcount's result: the count, or -1
  std::vector<ListedItem> items;
};

struct ExportItemResult {
  int16_t type = 0;
  int16_t index = 0;
  int32_t result = 0;
  std::u16string filename;  // as the component handed it back
  std::u16string file;      // the file written; empty when there is none
};

struct ProgressEvent {
  int16_t total = 0;
  int16_t current = 0;
  std::u16string text;
  friend bool operator==(const ProgressEvent&, const ProgressEvent&) = default;
};

struct DoneEvent {
  std::u16string result;
  std::u16string log_file;
  friend bool operator==(const DoneEvent&, const DoneEvent&) = default;
};

using ExportEvent = std::variant<ProgressEvent, DoneEvent>;

// The arguments Export2 was called with, as the program formed them.
struct ExportArguments {
  std::string destination;
  std::string name;
  int16_t type = 0;
  int16_t mode = 0;
  std::string log_name;  // empty: no log
  std::string log_dir;
};

struct ExportResult {
  ExportArguments arguments;
  int32_t result = 0;
  std::vector<ExportEvent> events;
  bool stopped = false;  // a stop was asked for (Ctrl-C, or a failed copy)
};

// How far a run came, over all its folders.
struct RunTally {
  int handled = 0;  // items exported
  int total = 0;    // items expected: those handled and those left in the last folder
};

// The progress of a run. A contacts run counts each folder from 0 again, so an
// item is one step of the current count, not the count the last event shows.
RunTally TallyOf(const std::vector<ExportEvent>& events);
// The LogFile of the run's ExportDone; empty when there was none.
std::u16string LogFileOf(const std::vector<ExportEvent>& events);

}  // namespace orvane::cli
