#include "hosts/cli/progress_bar.h"

#include <algorithm>
#include <cstdio>

#include "hosts/cli/terminal_text.h"

namespace orvane::cli {
namespace {

constexpr size_t kBarWidth = 20;
// Below this many columns a bar leaves too little room for the item's text.
constexpr size_t kColumnsForBar = 50;
constexpr const char* kEraseLine = "\r\x1b[K";

std::string Bar(int16_t total, int16_t current) {
  const int clamped = std::clamp<int>(current, 0, total);
  const size_t filled = static_cast<size_t>(clamped) * kBarWidth / static_cast<size_t>(total);
  const int percent = clamped * 100 / total;
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, " %3d%%", percent);
  return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "]" + numbers;
}

}  // namespace

std::string ProgressLine(int16_t total, int16_t current, const std::string& text, size_t columns) {
  std::string line;
  if (total > 0 && columns >= kColumnsForBar) line = Bar(total, current) + "  ";
  line += std::to_string(current);
  if (total > 0) line += "/" + std::to_string(total);
  if (!text.empty()) line += "  " + text;
  // The last column stays free: writing there makes some terminals wrap.
  return FitToColumns(line, columns > 0 ? columns - 1 : 0);
}

ProgressBar::ProgressBar(std::ostream& terminal, Columns columns, Clock clock,
                         std::chrono::milliseconds interval,
                         std::chrono::milliseconds first_draw_after)
    : terminal_(terminal),
      columns_(std::move(columns)),
      clock_(std::move(clock)),
      interval_(interval),
      first_draw_after_(first_draw_after) {}

void ProgressBar::Update(int16_t total, int16_t current, const std::string& text) {
  total_ = total;
  current_ = current;
  text_ = text;
  const auto now = clock_();
  if (!first_update_) first_update_ = now;
  if (!ever_drawn_ && now - *first_update_ < first_draw_after_) return;
  const bool last = total > 0 && current >= total;
  if (ever_drawn_ && !last && now - last_drawn_ < interval_) return;
  last_drawn_ = now;
  Draw();
}

void ProgressBar::Hide() {
  if (!shown_) return;
  terminal_ << kEraseLine << std::flush;
  shown_ = false;
}

void ProgressBar::Restore() {
  if (ever_drawn_ && !shown_) Draw();
}

void ProgressBar::Draw() {
  terminal_ << kEraseLine << ProgressLine(total_, current_, text_, columns_()) << std::flush;
  ever_drawn_ = true;
  shown_ = true;
}

}  // namespace orvane::cli
