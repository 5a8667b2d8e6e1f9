#include "platform/posix/address_book/iso_time.h"

#include <cstdint>

#include "platform/automation_date.h"

namespace orvane::posix {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int kFractionDigits = 7;  // 100-ns ticks

// Reads the text from the left; every read consumes only on success.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) {}

  bool AtEnd() const { return rest_.empty(); }
  bool Next(char c) const { return !rest_.empty() && rest_.front() == c; }

  bool Skip(char c) {
    if (!Next(c)) return false;
    rest_.remove_prefix(1);
    return true;
  }

  // Exactly `count` decimal digits.
  bool Number(int count, int& value) {
    if (rest_.size() < static_cast<size_t>(count)) return false;
    int result = 0;
    for (int i = 0; i < count; ++i) {
      if (!IsDigit(rest_[i])) return false;
      result = result * 10 + (rest_[i] - '0');
    }
    rest_.remove_prefix(count);
    value = result;
    return true;
  }

  // One or more digits after a decimal point, as ticks of a second.
  bool Fraction(int64_t& ticks) {
    int64_t result = 0;
    int digits = 0;
    while (!rest_.empty() && IsDigit(rest_.front())) {
      if (digits < kFractionDigits) result = result * 10 + (rest_.front() - '0');
      ++digits;
      rest_.remove_prefix(1);
    }
    for (int scale = digits; scale < kFractionDigits; ++scale) result *= 10;
    ticks = result;
    return digits > 0;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  std::string_view rest_;
};

bool ReadDate(Cursor& cursor, DateTimeParts& parts) {
  if (!cursor.Number(4, parts.year) || !cursor.Skip('-') || !cursor.Number(2, parts.month) ||
      !cursor.Skip('-') || !cursor.Number(2, parts.day)) {
    return false;
  }
  if (parts.year < 1601 || parts.month < 1 || parts.month > 12 || parts.day < 1) return false;
  // A day past the month's end would roll over into the next month.
  const DateTimeParts same = CivilFromDays(DaysFromCivil(parts.year, parts.month, parts.day));
  return same.month == parts.month && same.day == parts.day;
}

bool ReadTimeOfDay(Cursor& cursor, DateTimeParts& parts, int64_t& fraction_ticks) {
  if (!cursor.Number(2, parts.hour) || !cursor.Skip(':') || !cursor.Number(2, parts.minute)) {
    return false;
  }
  if (cursor.Skip(':')) {
    if (!cursor.Number(2, parts.second)) return false;
    if (cursor.Skip('.') && !cursor.Fraction(fraction_ticks)) return false;
  }
  return parts.hour <= 23 && parts.minute <= 59 && parts.second <= 59;
}

// "Z" or a numeric offset east of UTC, in minutes.
bool ReadZone(Cursor& cursor, int& offset_minutes) {
  if (cursor.Skip('Z')) {
    offset_minutes = 0;
    return true;
  }
  const int sign = cursor.Skip('+') ? 1 : cursor.Skip('-') ? -1 : 0;
  int hours = 0;
  int minutes = 0;
  if (sign == 0 || !cursor.Number(2, hours)) return false;
  if (!cursor.AtEnd()) {
    cursor.Skip(':');
    if (!cursor.Number(2, minutes)) return false;
  }
  if (hours > 23 || minutes > 59) return false;
  offset_minutes = sign * (hours * 60 + minutes);
  return true;
}

int64_t TicksSince1601(const DateTimeParts& parts) {
  static const int64_t kEpochSeconds = SecondsFromParts(DateTimeParts{1601, 1, 1, 0, 0, 0});
  return (SecondsFromParts(parts) - kEpochSeconds) * kTicksPerSecond;
}

}  // namespace

std::optional<StoredTime> ParseIsoTime(std::string_view text) {
  Cursor cursor(text);
  DateTimeParts parts{};
  if (!ReadDate(cursor, parts)) return std::nullopt;
  parts.hour = parts.minute = parts.second = 0;
  if (cursor.AtEnd()) return StoredTime{static_cast<uint64_t>(TicksSince1601(parts)), false};

  int64_t fraction_ticks = 0;
  if (!cursor.Skip('T') || !ReadTimeOfDay(cursor, parts, fraction_ticks)) return std::nullopt;
  const int64_t local_ticks = TicksSince1601(parts) + fraction_ticks;
  if (cursor.AtEnd()) return StoredTime{static_cast<uint64_t>(local_ticks), false};

  int offset_minutes = 0;
  if (!ReadZone(cursor, offset_minutes) || !cursor.AtEnd()) return std::nullopt;
  const int64_t utc_ticks = local_ticks - int64_t{offset_minutes} * 60 * kTicksPerSecond;
  if (utc_ticks < 0) return std::nullopt;
  return StoredTime{static_cast<uint64_t>(utc_ticks), true};
}

}  // namespace orvane::posix
