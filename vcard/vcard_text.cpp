#include "vcard/vcard_text.h"

#include <exception>

#include "vcard/quoted_printable.h"
#include "vcard/trailing_semicolons.h"

namespace orvane {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kQuotedPrintable = u";ENCODING=QUOTED-PRINTABLE";

bool HoldsLineBreak(std::u16string_view value) {
  return value.find_first_of(u"\r\n") != std::u16string_view::npos;
}

// Readers skip the blanks between the colon and a plain value; encoded, they stay.
bool StartsWithBlank(std::u16string_view value) {
  return !value.empty() && (value.front() == u' ' || value.front() == u'\t');
}

}  // namespace

void VCardText::AddLine(std::u16string_view name, std::u16string_view value) {
  Append(name, value, HoldsLineBreak(value) || StartsWithBlank(value));
}

void VCardText::AddLineIfValue(std::u16string_view name, std::u16string_view value) {
  if (!value.empty()) AddLine(name, value);
}

void VCardText::AddQuotedPrintableLine(std::u16string_view name, std::u16string_view value) {
  Append(name, value, true);
}

void VCardText::StripTrailingSemicolons() { orvane::StripTrailingSemicolons(text_); }

void VCardText::Append(std::u16string_view name, std::u16string_view value,
                       bool quoted_printable) {
  std::u16string line(name);
  try {
    if (quoted_printable) {
      line += kQuotedPrintable;
      line += u':';
      line += EncodeQuotedPrintable(code_page_, std::u16string(value));
    } else {
      line += u':';
      line += value;
    }
  } catch (const std::exception&) {
    // A value the code page cannot encode leaves its line out; the card goes on.
    return;
  }
  if (has_lines_) text_ += kLineBreak;
  text_ += line;
  has_lines_ = true;
}

}  // namespace orvane
