#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::posix {

// A time as the address book stores it, in 100-ns ticks since 1601-01-01.
struct StoredTime {
  uint64_t ticks = 0;
  // True: an instant in UTC, shown in the reader's local time. False: a local
  // time as written (a birthday), shown unchanged in every zone.
  bool universal = false;

  friend bool operator==(const StoredTime&, const StoredTime&) = default;
};

// A text value inside the document's text: UTF-8, its escapes decoded.
struct TextSpan {
  uint32_t offset = 0;
  uint32_t length = 0;
};

// The elements of a list value: a run of the document's list elements.
struct ListSpan {
  uint32_t first = 0;
  uint32_t count = 0;
};

// One property: its tag and the value of the type the tag names. Types that no
// getter hands out keep no value. Sixteen bytes: a large address book holds
// hundreds of thousands of them.
class Property {
 public:
  static Property WithoutValue(int32_t tag) { return Property(tag, Kind::kNone); }
  // `ascii`: every byte of the text is ASCII, which then crosses to any code
  // page that keeps ASCII as it is.
  static Property OfText(int32_t tag, TextSpan text, bool ascii) {
    Property property(tag, Kind::kText);
    if (ascii) property.flags_ |= kAscii;
    property.first_ = text.offset;
    property.second_ = text.length;
    return property;
  }
  static Property OfShort(int32_t tag, int16_t value) {
    Property property(tag, Kind::kShort);
    property.short_ = value;
    return property;
  }
  static Property OfTime(int32_t tag, StoredTime time) {
    Property property(tag, Kind::kTime);
    if (time.universal) property.flags_ |= kUniversal;
    property.first_ = static_cast<uint32_t>(time.ticks >> 32);
    property.second_ = static_cast<uint32_t>(time.ticks);
    return property;
  }
  static Property OfTextList(int32_t tag, ListSpan list) {
    Property property(tag, Kind::kTextList);
    property.first_ = list.first;
    property.second_ = list.count;
    return property;
  }

  int32_t tag() const { return tag_; }
  bool HasValue() const { return kind_ != Kind::kNone; }
  // A later property of the entry has the same tag, and readers take that one.
  bool IsRepeatedLater() const { return (flags_ & kRepeatedLater) != 0; }
  void MarkRepeatedLater() { flags_ |= kRepeatedLater; }
  std::optional<TextSpan> Text() const {
    if (kind_ != Kind::kText) return std::nullopt;
    return TextSpan{first_, second_};
  }
  bool IsAsciiText() const { return kind_ == Kind::kText && (flags_ & kAscii) != 0; }
  std::optional<int16_t> Short() const {
    if (kind_ != Kind::kShort) return std::nullopt;
    return short_;
  }
  std::optional<StoredTime> Time() const {
    if (kind_ != Kind::kTime) return std::nullopt;
    return StoredTime{uint64_t{first_} << 32 | second_, (flags_ & kUniversal) != 0};
  }
  std::optional<ListSpan> TextList() const {
    if (kind_ != Kind::kTextList) return std::nullopt;
    return ListSpan{first_, second_};
  }

 private:
  enum class Kind : uint8_t { kNone, kText, kShort, kTime, kTextList };
  static constexpr uint8_t kUniversal = 1;       // kTime: an instant in UTC
  static constexpr uint8_t kRepeatedLater = 2;
  static constexpr uint8_t kAscii = 4;           // kText: ASCII only
  Property(int32_t tag, Kind kind) : tag_(tag), kind_(kind) {}

  int32_t tag_;
  Kind kind_;
  uint8_t flags_ = 0;
  int16_t short_ = 0;       // kShort
  uint32_t first_ = 0;      // kText: offset; kTextList: first element; kTime: high ticks
  uint32_t second_ = 0;     // kText: length; kTextList: count; kTime: low ticks
};

struct AddressBookEntry {
  std::vector<Property> properties;  // in file order, repetitions kept
};

// An address book as read from its file; never changed once read, so open
// sessions on any thread can share it. Its texts stay in the file's own text,
// read in place, rather than in copies of their own.
struct AddressBookDocument {
  std::string text;  // the file's bytes, each string decoded over its escapes
  std::vector<AddressBookEntry> entries;  // in file order
  std::vector<TextSpan> list_elements;    // the elements of every text list, list by list

  std::string_view TextOf(TextSpan span) const { return {text.data() + span.offset, span.length}; }
  std::span<const TextSpan> ElementsOf(ListSpan list) const {
    return std::span(list_elements).subspan(list.first, list.count);
  }
};

using SharedDocument = std::shared_ptr<const AddressBookDocument>;

}  // namespace orvane::posix
