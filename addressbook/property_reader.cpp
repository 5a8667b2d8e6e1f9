#include "addressbook/property_reader.h"

#include <array>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include "addressbook/wab_entry_values.h"
#include "component/ascii_text.h"
#include "component/file_operations.h"
#include "platform/ascii_text.h"
#include "platform/character_scan.h"

namespace orvane {
namespace {

constexpr int32_t kSingleTextBufferSize = 128;
constexpr int32_t kListElementBufferSize = 256;
// The library may ask for a larger buffer this often before the read counts as failed
// (the value could grow between two reads).
constexpr int kTextReadAttempts = 3;

// Appends the text in a buffer the library filled: the code page's characters
// before the first NUL.
void AppendBufferText(CodePage& code_page, const char* buffer, int32_t size, std::u16string& out) {
  const std::string_view bytes(buffer, strnlen(buffer, static_cast<size_t>(size)));
  // ASCII, the most of every address book, needs no conversion.
  if (code_page.KeepsAscii() && AppendIfAscii(bytes, out)) return;
  out += CutAtNul(code_page.ToUtf16(std::string(bytes)));
}

// Fills the buffer with NULs, as the library is handed it, in wide stores laid
// out one by one: a loop would become a call to memset or a string instruction,
// either of which costs more than these few stores for every value read.
template <size_t kSize>
void ClearBuffer(std::array<char, kSize>& buffer) {
  using character_scan::Lanes;
  static_assert(kSize % sizeof(Lanes) == 0);
  [&]<size_t... kStep>(std::index_sequence<kStep...>) {
    const Lanes zeros{};
    (std::memcpy(buffer.data() + kStep * sizeof zeros, &zeros, sizeof zeros), ...);
  }(std::make_index_sequence<kSize / sizeof(Lanes)>());
}

// Reads a text value whole and appends it to `out`; false when it cannot be read.
// `get(buffer, size, required)` fills `buffer` of `size` bytes, or returns 0
// and may report in `required` the size that would fit. The first read has
// `kFirstSize` bytes; a value the library says needs more is read again with a
// buffer of that size, however large: a value is never cut or left out for its
// length.
template <int32_t kFirstSize, typename Getter>
bool AppendWholeText(CodePage& code_page, Getter get, std::u16string& out) {
  std::array<char, kFirstSize> first;
  ClearBuffer(first);
  std::string larger;
  char* buffer = first.data();
  int32_t size = kFirstSize;
  for (int attempt = 0; attempt < kTextReadAttempts; ++attempt) {
    int32_t required = 0;
    if (get(buffer, size, &required) != 0) {
      AppendBufferText(code_page, buffer, size, out);
      return true;
    }
    if (required <= size) return false;
    size = required;
    larger.assign(static_cast<size_t>(size), '\0');  // every byte NUL, as the first
    buffer = larger.data();
  }
  return false;
}

// A time value as a date, milliseconds dropped; nothing when it cannot be
// read. A date the text cannot name (after the year 9999) is no date either.
std::optional<DateTimeParts> ReadDate(CallContext& context, WabEntry& entry, int32_t tag) {
  FileTime time;
  if (context.platform.address_book->kWabGetProp_SysTime(context.state.WabContext, entry, tag,
                                                         time) == 0) {
    return std::nullopt;
  }
  int16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
          milliseconds = 0;
  if (!FileTimeToFields(*context.platform.file_times, time, year, month, dayOfWeek, day, hour,
                        minute, second, milliseconds) ||
      !IsAutomationYear(year)) {
    return std::nullopt;
  }
  return DateTimeParts{year, month, day, hour, minute, second};
}

// Reads one property's value as text and appends it to `out`.
class PropertyReader {
 public:
  PropertyReader(CallContext& context, WabEntry& entry, int32_t tag, std::u16string& out)
      : context_(context),
        library_(*context.platform.address_book),
        entry_(entry),
        tag_(tag),
        out_(out) {}

  void Text() {
    AppendWholeText<kSingleTextBufferSize>(
        CodePageOf(),
        [&](char* buffer, int32_t size, int32_t* required) {
          return library_.kWabGetProp_String(context_.state.WabContext, entry_, tag_, buffer,
                                             size, required);
        },
        out_);
  }

  void Short() {
    int16_t value = 0;
    if (library_.kWabGetProp_Short(context_.state.WabContext, entry_, tag_, value) == 0) return;
    AppendDigits(out_, value);
  }

  void Time() {
    FileTime time;
    if (library_.kWabGetProp_SysTime(context_.state.WabContext, entry_, tag_, time) == 0) return;
    AutomationDate date = 0;
    if (FileTimeToDate(*context_.platform.file_times, time, date)) AppendWabDateText(date, out_);
  }

  // The elements joined by ";". An element that cannot be read is left out and
  // the others are kept, in order.
  void List() {
    int32_t count = 0;
    if (library_.kWabGetProp_MV_String_Count(context_.state.WabContext, entry_, tag_, count) == 0) {
      return;
    }
    const size_t start = out_.size();
    for (int32_t index = 0; index < count; ++index) {
      const size_t before = out_.size();
      // A separator only after text: an empty first element leaves none.
      if (before > start) out_ += u';';
      if (!AppendElement(index)) out_.resize(before);
    }
  }

 private:
  bool AppendElement(int32_t index) {
    return AppendWholeText<kListElementBufferSize>(
        CodePageOf(),
        [&](char* buffer, int32_t size, int32_t* required) {
          return library_.kWabGetProp_MV_String_Data(context_.state.WabContext, entry_, tag_,
                                                     buffer, size, required, index);
        },
        out_);
  }

  CodePage& CodePageOf() { return *context_.platform.code_page; }

  CallContext& context_;
  AddressBookLibrary& library_;
  WabEntry& entry_;
  int32_t tag_;
  std::u16string& out_;
};

bool HasServices(const PlatformServices& platform) {
  return platform.address_book && platform.code_page && platform.file_times;
}

}  // namespace

std::u16string GetWabPropText(CallContext& context, int32_t PropTag, int32_t EntryIndex) {
  std::u16string text;
  AppendWabPropText(context, PropTag, EntryIndex, text);
  return text;
}

void AppendWabPropText(CallContext& context, int32_t PropTag, int32_t EntryIndex,
                       std::u16string& out) {
  AppendWabPropTextOfType(context, PropTag, WabPropType(context, PropTag), EntryIndex, out);
}

int32_t WabPropType(CallContext& context, int32_t PropTag) {
  if (!context.platform.address_book) return 0;
  try {
    return context.platform.address_book->kWabGetPropType(PropTag);
  } catch (const std::exception&) {
    return 0;
  }
}

std::optional<DateTimeParts> GetWabPropDate(CallContext& context, int32_t PropTag,
                                             int32_t EntryIndex) {
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr || !HasServices(context.platform)) return std::nullopt;
  try {
    return ReadDate(context, *entry, PropTag);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void AppendWabPropTextOfType(CallContext& context, int32_t PropTag, int32_t PropType,
                             int32_t EntryIndex, std::u16string& out) {
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr || !HasServices(context.platform)) return;
  const size_t start = out.size();
  try {
    PropertyReader reader(context, *entry, PropTag, out);
    switch (PropType) {
      case PT_STRING8:
        return reader.Text();
      case PT_I2:
        return reader.Short();
      case PT_SYSTIME:
        return reader.Time();
      case PT_MV_STRING8:
        return reader.List();
      default:
        return;
    }
  } catch (const std::exception&) {
    // A library or conversion that fails by throwing reads as an absent value.
    out.resize(start);
  }
}

bool FileTimeToFields(FileTimeConverter& converter, const FileTime& time, int16_t& year,
                      int16_t& month, int16_t& dayOfWeek, int16_t& day, int16_t& hour,
                      int16_t& minute, int16_t& second, int16_t& milliseconds) {
  SystemTime fields;
  if (!converter.FileTimeToSystemTime(time, fields)) return false;
  year = fields.wYear;
  month = fields.wMonth;
  dayOfWeek = fields.wDayOfWeek;
  day = fields.wDay;
  hour = fields.wHour;
  minute = fields.wMinute;
  second = fields.wSecond;
  milliseconds = fields.wMilliseconds;
  return true;
}

bool FileTimeToDate(FileTimeConverter& converter, const FileTime& time, AutomationDate& date) {
  int16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
          milliseconds = 0;
  if (!FileTimeToFields(converter, time, year, month, dayOfWeek, day, hour, minute, second,
                        milliseconds)) {
    return false;
  }
  date = AutomationDateFromParts({year, month, day, hour, minute, second});
  return true;
}

}  // namespace orvane
