#pragma once

#include <iostream>
#include <string>

#include "platform/message_box.h"

namespace orvane::posix {

// A message box for a machine without a desktop: one line on a stream
// (standard error by default) in UTF-8, marked with its kind: "error: " for a
// critical message, "note: " for information. It waits for no one. Line breaks
// inside the text become blanks, so that each message stays one line.
class PosixMessageBox final : public MessageBox {
 public:
  explicit PosixMessageBox(std::ostream& out = std::cerr);
  void Show(const std::u16string& text, MessageBoxKind kind) override;

 private:
  std::ostream* out_;
};

}  // namespace orvane::posix
