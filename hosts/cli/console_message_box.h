#pragma once

#include <vector>

#include "hosts/cli/console.h"
#include "hosts/cli/results.h"
#include "platform/message_box.h"

namespace orvane::cli {

// The component's message boxes as one line each on standard error:
// "orvane: error: <text>" for a critical one, "orvane: note: <text>" otherwise.
// Nobody has to close them. Each is also kept for the JSON output.
class ConsoleMessageBox final : public MessageBox {
 public:
  explicit ConsoleMessageBox(Console& console) : console_(console) {}
  void Show(const std::u16string& text, MessageBoxKind kind) override;

  const std::vector<ShownMessage>& shown() const { return shown_; }
  bool any_critical() const;

 private:
  Console& console_;
  std::vector<ShownMessage> shown_;
};

}  // namespace orvane::cli
