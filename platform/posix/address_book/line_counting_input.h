#pragma once

#include <cstddef>
#include <string>

namespace orvane::posix {

// A JSON text as the reader walks it: it reads the text in place, writing each
// string's decoded characters over its own escapes, and counts the lines it has
// consumed. After a token has been delivered, line() is the line where that
// token ends: the reader has not yet read the blanks after it.
class LineCountingInput {
 public:
  using Ch = char;

  // `text` must stay in place while it is read; its NUL ends the input.
  explicit LineCountingInput(std::string& text)
      : begin_(text.data()), at_(text.data()), line_start_(text.data()) {}

  Ch Peek() const { return *at_; }
  Ch Take() {
    const Ch c = *at_++;
    if (c == '\n') {
      ++line_breaks_;
      line_start_ = at_;
    }
    return c;
  }
  size_t Tell() const { return static_cast<size_t>(at_ - begin_); }
  size_t OffsetOf(const Ch* place) const { return static_cast<size_t>(place - begin_); }

  // Decoded characters go over the text already read.
  Ch* PutBegin() { return write_ = at_; }
  void Put(Ch c) { *write_++ = c; }
  size_t PutEnd(Ch* begin) { return static_cast<size_t>(write_ - begin); }
  void Flush() {}

  int line() const { return line_breaks_ + 1; }
  // The column (from 1) of the character at `offset`, on the line being read.
  size_t ColumnOf(size_t offset) const {
    const size_t line_offset = static_cast<size_t>(line_start_ - begin_);
    return offset >= line_offset ? offset - line_offset + 1 : 1;
  }

 private:
  Ch* begin_;
  Ch* at_;
  Ch* line_start_;
  Ch* write_ = nullptr;
  int line_breaks_ = 0;
};

}  // namespace orvane::posix
