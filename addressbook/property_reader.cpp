#include "addressbook/property_reader.h"

#include <exception>
#include <functional>
#include <string>

#include "addressbook/wab_entry_values.h"
#include "component/ascii_text.h"
#include "component/file_operations.h"

namespace orvane {
namespace {

constexpr int32_t kSingleTextBufferSize = 128;
constexpr int32_t kListElementBufferSize = 256;
// The library may ask for a larger buffer this often before the read counts as failed
// (the value could grow between two reads).
constexpr int kTextReadAttempts = 3;

// One getter call: fills `buffer` of `size` bytes, or returns 0 and may report in
// `required` the size that would fit.
using TextGetter = std::function<int16_t(char* buffer, int32_t size, int32_t* required)>;

// Reads a text value whole: starts with `first_size` bytes and reads again with a
// buffer of the size the library reports the value needs, however large: a
// value is never cut or left out for its length.
std::optional<std::string> ReadWholeText(int32_t first_size, const TextGetter& get) {
  int32_t size = first_size;
  for (int attempt = 0; attempt < kTextReadAttempts; ++attempt) {
    std::string buffer(static_cast<size_t>(size), '\0');
    int32_t required = 0;
    if (get(buffer.data(), size, &required) != 0) return buffer;
    if (required <= size) return std::nullopt;
    size = required;
  }
  return std::nullopt;
}

class PropertyReader {
 public:
  PropertyReader(CallContext& context, WabEntry& entry, int32_t tag)
      : context_(context), library_(*context.platform.address_book), entry_(entry), tag_(tag) {}

  std::u16string Text() {
    const auto bytes = ReadWholeText(
        kSingleTextBufferSize, [&](char* buffer, int32_t size, int32_t* required) {
          return library_.kWabGetProp_String(context_.state.WabContext, entry_, tag_, buffer,
                                             size, required);
        });
    return bytes ? Decode(*bytes) : std::u16string();
  }

  std::u16string Short() {
    int16_t value = 0;
    if (library_.kWabGetProp_Short(context_.state.WabContext, entry_, tag_, value) == 0) return {};
    return DecimalText(value);
  }

  std::u16string Time() {
    FileTime time;
    if (library_.kWabGetProp_SysTime(context_.state.WabContext, entry_, tag_, time) == 0) return {};
    FileTimeConverter& converter = *context_.platform.file_times;
    int16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
          milliseconds = 0;
    AutomationDate date = 0;
    if (!FileTimeToFields(converter, time, year, month, dayOfWeek, day, hour, minute, second,
                          milliseconds) ||
        !FileTimeToDate(converter, time, date)) {
      return {};
    }
    return FormatWabDateText(date);
  }

  // The elements joined by ";". An element that cannot be read is left out and
  // the others are kept, in order.
  std::u16string List() {
    int32_t count = 0;
    if (library_.kWabGetProp_MV_String_Count(context_.state.WabContext, entry_, tag_, count) == 0) {
      return {};
    }
    std::u16string joined;
    for (int32_t index = 0; index < count; ++index) {
      const auto element = Element(index);
      if (!element) continue;
      if (joined.empty()) {
        joined = *element;
      } else {
        joined += u';';
        joined += *element;
      }
    }
    return joined;
  }

 private:
  std::optional<std::u16string> Element(int32_t index) {
    const auto bytes = ReadWholeText(
        kListElementBufferSize, [&](char* buffer, int32_t size, int32_t* required) {
          return library_.kWabGetProp_MV_String_Data(context_.state.WabContext, entry_, tag_,
                                                     buffer, size, required, index);
        });
    if (!bytes) return std::nullopt;
    return Decode(*bytes);
  }

  std::u16string Decode(const std::string& buffer) {
    return CutAtNul(context_.platform.code_page->ToUtf16(buffer));
  }

  CallContext& context_;
  AddressBookLibrary& library_;
  WabEntry& entry_;
  int32_t tag_;
};

bool HasServices(const PlatformServices& platform) {
  return platform.address_book && platform.code_page && platform.file_times;
}

}  // namespace

std::u16string GetWabPropText(CallContext& context, int32_t PropTag, int32_t EntryIndex) {
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr || !HasServices(context.platform)) return {};
  try {
    PropertyReader reader(context, *entry, PropTag);
    switch (context.platform.address_book->kWabGetPropType(PropTag)) {
      case PT_STRING8:
        return reader.Text();
      case PT_I2:
        return reader.Short();
      case PT_SYSTIME:
        return reader.Time();
      case PT_MV_STRING8:
        return reader.List();
      default:
        return {};
    }
  } catch (const std::exception&) {
    // A library or conversion that fails by throwing reads as an absent value.
    return {};
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
