#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "hosts/cli/progress_bar.h"

namespace orvane::cli {

// Standard error: the program's own lines, each starting "orvane: ", and on a
// terminal the progress bar of a running export, kept below them.
class Console {
 public:
  // `bar` is null when standard error is not a terminal: then nothing is shown per item.
  explicit Console(std::ostream& out, std::unique_ptr<ProgressBar> bar = nullptr);

  void Say(const std::string& line);
  void Progress(int16_t total, int16_t current, const std::string& text);
  // The run is over: the bar is erased and not drawn again.
  void EndProgress();

 private:
  std::ostream& out_;
  std::unique_ptr<ProgressBar> bar_;
  bool progress_ended_ = false;
};

}  // namespace orvane::cli
