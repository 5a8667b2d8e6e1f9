#include "hosts/cli/terminal_text.h"

#include <array>
#include <utility>

#include "hosts/cli/utf8.h"

namespace orvane::cli {
namespace {

bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

using Range = std::pair<char32_t, char32_t>;

constexpr std::array kWideRanges = {
    Range{0x1100, 0x115F},   Range{0x2E80, 0x303E},   Range{0x3041, 0x33FF},
    Range{0x3400, 0x4DBF},   Range{0x4E00, 0x9FFF},   Range{0xA000, 0xA4CF},
    Range{0xAC00, 0xD7A3},   Range{0xF900, 0xFAFF},   Range{0xFE30, 0xFE4F},
    Range{0xFF00, 0xFF60},   Range{0xFFE0, 0xFFE6},   Range{0x1F300, 0x1F64F},
    Range{0x1F900, 0x1F9FF}, Range{0x20000, 0x3FFFD},
};

constexpr std::array kZeroWidthRanges = {
    Range{0x0300, 0x036F}, Range{0x1AB0, 0x1AFF}, Range{0x1DC0, 0x1DFF}, Range{0x200B, 0x200F},
    Range{0x20D0, 0x20FF}, Range{0xFE00, 0xFE0F}, Range{0xFE20, 0xFE2F},
};

template <size_t N>
bool InRanges(char32_t c, const std::array<Range, N>& ranges) {
  for (const Range& range : ranges) {
    if (c >= range.first && c <= range.second) return true;
  }
  return false;
}

size_t ColumnsOfCharacter(char32_t c) {
  if (InRanges(c, kZeroWidthRanges)) return 0;
  return InRanges(c, kWideRanges) ? 2 : 1;
}

// The character that starts at `at` and how many bytes it takes; a byte that
// starts no valid sequence counts as one character of its own.
std::pair<char32_t, size_t> DecodeAt(const std::string& utf8, size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 1;
  if (length == 1 || at + length > utf8.size()) return {lead, 1};
  char32_t c = lead & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(utf8[at + k]);
    if ((next & 0xC0) != 0x80) return {lead, 1};
    c = (c << 6) | (next & 0x3F);
  }
  return {c, length};
}

}  // namespace

std::string OneLineText(const std::u16string& text) {
  std::u16string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    if (c == u'\r' || c == u'\n' || c == u'\t') {
      line.push_back(u' ');
    } else {
      line.push_back(IsControl(c) ? u'?' : c);
    }
  }
  return Utf8(line);
}

size_t ColumnsOf(const std::string& utf8) {
  size_t columns = 0;
  for (size_t at = 0; at < utf8.size();) {
    const auto [c, length] = DecodeAt(utf8, at);
    columns += ColumnsOfCharacter(c);
    at += length;
  }
  return columns;
}

std::string FitToColumns(const std::string& utf8, size_t columns) {
  if (ColumnsOf(utf8) <= columns) return utf8;
  const std::string ellipsis = "...";
  if (columns < ellipsis.size()) return std::string(columns, '.');
  const size_t room = columns - ellipsis.size();
  size_t used = 0;
  size_t at = 0;
  while (at < utf8.size()) {
    const auto [c, length] = DecodeAt(utf8, at);
    const size_t width = ColumnsOfCharacter(c);
    if (used + width > room) break;
    used += width;
    at += length;
  }
  return utf8.substr(0, at) + ellipsis;
}

}  // namespace orvane::cli
