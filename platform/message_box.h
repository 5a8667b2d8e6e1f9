#pragma once

#include <string>

namespace orvane {

enum class MessageBoxKind { kInformation, kCritical };

// A modal message box with one OK button: it returns when the user has closed it.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::u16string& text, MessageBoxKind kind) = 0;
};

}  // namespace orvane
