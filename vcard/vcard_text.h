#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "vcard/quoted_printable.h"

namespace orvane {

// The text of a card or calendar, line by line: "name:value" lines joined by
// CR LF, with no line break after the last. The only layer that knows how a
// value is written; every writer of cards goes through it.
class VCardText {
 public:
  explicit VCardText(CodePage& code_page);

  // "name:value". A value holding CR or LF, or starting with a blank or tab, is
  // written quoted-printable, with ";ENCODING=QUOTED-PRINTABLE" after the name,
  // so that the card keeps its lines and a reader gets the value back whole.
  void AddLine(std::u16string_view name, std::u16string_view value);
  // The same for a value made of parts, written one after the other.
  void AddLine(std::u16string_view name, std::initializer_list<std::u16string_view> value_parts);
  // The line only when the value is not empty.
  void AddLineIfValue(std::u16string_view name, std::u16string_view value);
  // "name;ENCODING=QUOTED-PRINTABLE:" and the value encoded, line break or not.
  void AddQuotedPrintableLine(std::u16string_view name, std::u16string_view value);
  // Drops every ";" at the end of the text so far, whichever line it ends.
  void StripTrailingSemicolons();

  const std::u16string& text() const { return text_; }
  std::u16string TakeText() { return std::move(text_); }

 private:
  void Append(std::u16string_view name, std::span<const std::u16string_view> value_parts,
              bool quoted_printable);

  QuotedPrintableEncoder encoder_;
  std::u16string text_;
  std::u16string joined_;  // a value of many parts, joined to be encoded
  bool has_lines_ = false;
};

}  // namespace orvane
