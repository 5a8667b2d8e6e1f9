#pragma once

#include <string>

#include "platform/code_page.h"

namespace orvane {

// Quoted-printable text of `text` in the ANSI code page: "=", CR, LF and the
// characters whose code-page value is 0, 255 or a double byte are escaped so
// that the text decodes back to the same bytes; everything else passes.
std::u16string EncodeQuotedPrintable(CodePage& code_page, const std::u16string& text);

}  // namespace orvane
