#pragma once

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace orvane {

// Quoted-printable text of `text` in the ANSI code page: "=", CR, LF and the
// characters whose code-page value is 0, 255 or a double byte are escaped so
// that the text decodes back to the same bytes; everything else passes.
std::u16string EncodeQuotedPrintable(CodePage& code_page, const std::u16string& text);

// The same encoding, appended to a text the caller keeps.
class QuotedPrintableEncoder {
 public:
  explicit QuotedPrintableEncoder(CodePage& code_page)
      : code_page_(code_page), keeps_ascii_(code_page.KeepsAscii()) {}

  void Append(std::u16string_view text, std::u16string& out);

 private:
  void AppendCharacter(std::u16string_view character, std::u16string& out);

  CodePage& code_page_;
  // Then an ASCII character other than NUL is the byte of its own value, which
  // passes, and need not be asked for.
  bool keeps_ascii_;
};

}  // namespace orvane
