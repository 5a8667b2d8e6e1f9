#include "vcard/vcard_text.h"

#include <algorithm>
#include <exception>

#include "platform/character_scan.h"
#include "vcard/trailing_semicolons.h"

namespace orvane {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kQuotedPrintable = u";ENCODING=QUOTED-PRINTABLE";
// Room for a whole card, so that it grows without copies as a rule.
constexpr size_t kTypicalLength = 2048;

bool HoldsLineBreak(std::span<const std::u16string_view> parts) {
  return std::any_of(parts.begin(), parts.end(),
                     [](std::u16string_view part) { return orvane::HoldsLineBreak(part); });
}

// Readers skip the blanks between the colon and a plain value; encoded, they stay.
bool StartsWithBlank(std::span<const std::u16string_view> parts) {
  for (const std::u16string_view part : parts) {
    if (!part.empty()) return part.front() == u' ' || part.front() == u'\t';
  }
  return false;
}

}  // namespace

VCardText::VCardText(CodePage& code_page) : encoder_(code_page) { text_.reserve(kTypicalLength); }

void VCardText::AddLine(std::u16string_view name, std::u16string_view value) {
  AddLine(name, {value});
}

void VCardText::AddLine(std::u16string_view name,
                        std::initializer_list<std::u16string_view> value_parts) {
  const std::span parts(value_parts.begin(), value_parts.size());
  Append(name, parts, HoldsLineBreak(parts) || StartsWithBlank(parts));
}

void VCardText::AddLineIfValue(std::u16string_view name, std::u16string_view value) {
  if (!value.empty()) AddLine(name, value);
}

void VCardText::AddQuotedPrintableLine(std::u16string_view name, std::u16string_view value) {
  Append(name, std::span(&value, 1), true);
}

void VCardText::StripTrailingSemicolons() { orvane::StripTrailingSemicolons(text_); }

void VCardText::Append(std::u16string_view name, std::span<const std::u16string_view> value_parts,
                       bool quoted_printable) {
  const size_t line_start = text_.size();
  try {
    if (has_lines_) text_ += kLineBreak;
    text_ += name;
    if (quoted_printable) {
      text_ += kQuotedPrintable;
      text_ += u':';
      if (value_parts.size() == 1) {
        encoder_.Append(value_parts.front(), text_);
      } else {
        // Encoded whole, as one value: a character may not be split between parts.
        size_t length = 0;
        for (const std::u16string_view part : value_parts) length += part.size();
        joined_.clear();
        joined_.reserve(length);
        for (const std::u16string_view part : value_parts) joined_ += part;
        encoder_.Append(joined_, text_);
      }
    } else {
      text_ += u':';
      for (const std::u16string_view part : value_parts) text_ += part;
    }
  } catch (const std::exception&) {
    // A value the code page cannot encode leaves its line out; the card goes on.
    text_.resize(line_start);
    return;
  }
  has_lines_ = true;
}

}  // namespace orvane
