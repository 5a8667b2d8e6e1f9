#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace orvane::cli {

// One line of progress fitted to `columns`:
//   "[#######-------------]  35%  7/20  Ada Lovelace"
// Without a total (0 or less) only the count and the text; on a narrow
// terminal the bar goes first, then the text is cut.
std::string ProgressLine(int16_t total, int16_t current, const std::string& text, size_t columns);

// The live progress bar of an export on a terminal: one line, redrawn in place,
// at most every `interval` so that a fast run does not flood the terminal. With
// `first_draw_after`, nothing shows until the run has lasted that long, so that
// a short one leaves no flicker.
class ProgressBar {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  using Columns = std::function<size_t()>;

  ProgressBar(std::ostream& terminal, Columns columns, Clock clock,
              std::chrono::milliseconds interval = std::chrono::milliseconds(50),
              std::chrono::milliseconds first_draw_after = std::chrono::milliseconds(0));

  // Draws the new state unless the last drawing is too recent; the last item
  // of a run (current == total) is always drawn once the bar shows.
  void Update(int16_t total, int16_t current, const std::string& text);
  // Erases the line, so that a message can be written; Restore draws it again.
  void Hide();
  void Restore();
  bool shown() const { return shown_; }

 private:
  void Draw();

  std::ostream& terminal_;
  Columns columns_;
  Clock clock_;
  std::chrono::milliseconds interval_;
  std::chrono::milliseconds first_draw_after_;
  std::optional<std::chrono::steady_clock::time_point> first_update_;
  std::chrono::steady_clock::time_point last_drawn_{};
  bool ever_drawn_ = false;
  bool shown_ = false;
  int16_t total_ = 0;
  int16_t current_ = 0;
  std::string text_;
};

}  // namespace orvane::cli
