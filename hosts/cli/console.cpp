#include "hosts/cli/console.h"

namespace orvane::cli {

Console::Console(std::ostream& out, std::unique_ptr<ProgressBar> bar)
    : out_(out), bar_(std::move(bar)) {}

void Console::Say(const std::string& line) {
  if (bar_) bar_->Hide();
  out_ << "orvane: " << line << '\n' << std::flush;
  if (bar_ && !progress_ended_) bar_->Restore();
}

void Console::Progress(int16_t total, int16_t current, const std::string& text) {
  if (bar_ && !progress_ended_) bar_->Update(total, current, text);
}

void Console::EndProgress() {
  if (bar_) bar_->Hide();
  progress_ended_ = true;
}

}  // namespace orvane::cli
