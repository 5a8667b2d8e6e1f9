#include "hosts/cli/console_message_box.h"

#include <algorithm>

#include "hosts/cli/terminal_text.h"

namespace orvane::cli {

void ConsoleMessageBox::Show(const std::u16string& text, MessageBoxKind kind) {
  const bool critical = kind == MessageBoxKind::kCritical;
  const std::string line = OneLineText(text);
  shown_.push_back({critical, line});
  console_.Say((critical ? "error: " : "note: ") + line);
}

bool ConsoleMessageBox::any_critical() const {
  return std::any_of(shown_.begin(), shown_.end(),
                     [](const ShownMessage& message) { return message.critical; });
}

}  // namespace orvane::cli
