#include "platform/posix/posix_message_box.h"

#include "platform/posix/text_conversion.h"

namespace orvane::posix {
namespace {

const char* MarkerOf(MessageBoxKind kind) {
  return kind == MessageBoxKind::kCritical ? "error: " : "note: ";
}

// CR LF, CR and LF each become one blank.
std::u16string OnOneLine(const std::u16string& text) {
  std::u16string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    line.push_back(text[i] == u'\r' || text[i] == u'\n' ? u' ' : text[i]);
  }
  return line;
}

}  // namespace

PosixMessageBox::PosixMessageBox(std::ostream& out) : out_(&out) {}

void PosixMessageBox::Show(const std::u16string& text, MessageBoxKind kind) {
  *out_ << MarkerOf(kind) << EncodeUtf8(OnOneLine(text)) << '\n' << std::flush;
}

}  // namespace orvane::posix
