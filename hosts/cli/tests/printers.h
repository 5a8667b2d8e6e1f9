#pragma once

#include <ostream>

#include "hosts/cli/results.h"
#include "hosts/cli/utf8.h"

// Readable failure messages for the results the tests compare.
namespace orvane::cli {

inline void PrintTo(const Failure& failure, std::ostream* out) {
  *out << "{" << (failure.number ? std::to_string(*failure.number) : "no number") << ", \""
       << failure.description << "\"";
  for (const std::string& hint : failure.hints) *out << ", \"" << hint << "\"";
  *out << "}";
}

inline void PrintTo(const ShownMessage& message, std::ostream* out) {
  *out << (message.critical ? "critical: " : "information: ") << message.text;
}

inline void PrintTo(const ProgressEvent& event, std::ostream* out) {
  *out << "progress " << event.total << " " << event.current << " " << Utf8(event.text);
}

inline void PrintTo(const DoneEvent& event, std::ostream* out) {
  *out << "done [" << Utf8(event.result) << "] [" << Utf8(event.log_file) << "]";
}

}  // namespace orvane::cli
