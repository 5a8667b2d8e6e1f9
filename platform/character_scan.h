#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace orvane {

// Tests on UTF-16 text eight characters at a time, in the compiler's vector
// types (GCC and Clang, every target): card values are short, and a loop over
// single characters spends most of its time on the loop itself.
namespace character_scan {

using Lanes = uint16_t __attribute__((vector_size(16)));
using LaneMask = int16_t __attribute__((vector_size(16)));  // a lane: all ones or 0
constexpr size_t kLanes = sizeof(Lanes) / sizeof(char16_t);

// The character in every lane. Compared with a lane vector of its own, not a
// plain character, which not every compiler takes.
static_assert(kLanes == 8, "Splat names every lane");
constexpr Lanes Splat(char16_t c) { return Lanes{c, c, c, c, c, c, c, c}; }

inline Lanes LanesAt(const char16_t* text) {
  Lanes lanes;
  std::memcpy(&lanes, text, sizeof lanes);
  return lanes;
}

inline bool AnyLane(LaneMask mask) {
  uint64_t halves[2];
  std::memcpy(halves, &mask, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

// The mask's lanes narrowed to a byte each, lane 0 the lowest: a word whose
// lowest set bit tells the first lane marked.
inline uint64_t LaneBytes(LaneMask mask) {
  static_assert(std::endian::native == std::endian::little, "lane 0 is the lowest byte");
  using Bytes = int8_t __attribute__((vector_size(kLanes)));
  const Bytes narrow = __builtin_convertvector(mask, Bytes);
  uint64_t bytes;
  std::memcpy(&bytes, &narrow, sizeof bytes);
  return bytes;
}

// The first lane marked in LaneBytes; kLanes when none is.
inline size_t FirstLane(uint64_t lane_bytes) {
  return lane_bytes == 0 ? kLanes : static_cast<size_t>(__builtin_ctzll(lane_bytes)) / 8;
}

// Eight bytes, each widened to a lane of its own.
inline Lanes WidenedBytes(const char* bytes) {
  using Bytes = uint8_t __attribute__((vector_size(kLanes)));
  Bytes narrow;
  std::memcpy(&narrow, bytes, sizeof narrow);
  return __builtin_convertvector(narrow, Lanes);
}

}  // namespace character_scan

// Whether the text holds a CR or an LF. Past the last whole eight, the last
// eight are looked at again, overlapping those before.
inline bool HoldsLineBreak(std::u16string_view text) {
  using namespace character_scan;
  const auto breaks = [](Lanes lanes) {
    return AnyLane((lanes == Splat(u'\r')) | (lanes == Splat(u'\n')));
  };
  if (text.size() < kLanes) {
    for (const char16_t c : text) {
      if (c == u'\r' || c == u'\n') return true;
    }
    return false;
  }
  for (size_t i = 0; i + kLanes <= text.size(); i += kLanes) {
    if (breaks(LanesAt(text.data() + i))) return true;
  }
  return breaks(LanesAt(text.data() + text.size() - kLanes));
}

// Where the run of characters from `start` that pass ends: `failing_lanes`
// marks the characters of eight that do not. A text shorter than eight is
// looked at in lanes of its own, those past its end not counted.
template <typename LaneTest>
size_t EndOfRun(std::u16string_view text, size_t start, LaneTest failing_lanes) {
  using namespace character_scan;
  if (start >= text.size()) return text.size();
  size_t i = start;
  if (text.size() < kLanes) {
    Lanes lanes{};
    std::memcpy(&lanes, text.data(), text.size() * sizeof(char16_t));
    const uint64_t in_run = (~uint64_t{0} << (start * 8)) & ~(~uint64_t{0} << (text.size() * 8));
    const size_t lane = FirstLane(LaneBytes(failing_lanes(lanes)) & in_run);
    return lane < kLanes ? lane : text.size();
  }
  for (; i + kLanes <= text.size(); i += kLanes) {
    const size_t lane = FirstLane(LaneBytes(failing_lanes(LanesAt(text.data() + i))));
    if (lane < kLanes) return i + lane;
  }
  if (i >= text.size()) return text.size();
  // Fewer than eight left: the last eight of the text, overlapping those
  // looked at (or standing before `start`), whose lanes before `i` do not count.
  const size_t last = text.size() - kLanes;
  const uint64_t from_i = ~uint64_t{0} << ((i - last) * 8);  // i - last is 1 to 7
  const size_t lane = FirstLane(LaneBytes(failing_lanes(LanesAt(text.data() + last))) & from_i);
  return lane < kLanes ? last + lane : text.size();
}

}  // namespace orvane
