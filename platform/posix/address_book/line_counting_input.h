#pragma once

#include <cstddef>
#include <iterator>

namespace orvane::posix {

// The line of the last significant character a reader has consumed: the line
// where the token it has just delivered ends. Blanks read ahead do not count.
class LinePosition {
 public:
  void Consumed(char c) {
    if (c == '\n') {
      ++line_breaks_;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      line_ = line_breaks_ + 1;
    }
  }
  int line() const { return line_; }

 private:
  int line_breaks_ = 0;
  int line_ = 1;
};

// Walks a character range and tells a LinePosition of every character passed.
class LineCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  LineCountingIterator(const char* at, LinePosition* position) : at_(at), position_(position) {}

  reference operator*() const { return *at_; }
  LineCountingIterator& operator++() {
    position_->Consumed(*at_);
    ++at_;
    return *this;
  }
  LineCountingIterator operator++(int) {
    LineCountingIterator before = *this;
    ++*this;
    return before;
  }
  friend bool operator==(const LineCountingIterator& a, const LineCountingIterator& b) {
    return a.at_ == b.at_;
  }

 private:
  const char* at_;
  LinePosition* position_;
};

}  // namespace orvane::posix
