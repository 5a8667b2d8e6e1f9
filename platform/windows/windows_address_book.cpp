#include "platform/windows/windows_address_book.h"

#include <cstring>

#include "platform/error.h"
#include "platform/windows/com_support.h"
#include "platform/windows/kwab_abi.h"

namespace orvane::windows {
namespace {

struct Functions {
  kwab::Open open;
  kwab::Close close;
  kwab::GetNumEntries get_num_entries;
  kwab::GetEntries get_entries;
  kwab::FreeEntries free_entries;
  kwab::GetNumProps get_num_props;
  kwab::GetPropTag get_prop_tag;
  kwab::GetPropType get_prop_type;
  kwab::GetPropString get_string;
  kwab::GetPropShort get_short;
  kwab::GetPropSysTime get_sys_time;
  kwab::GetPropMvStringCount get_mv_count;
  kwab::GetPropMvStringData get_mv_data;
};

template <typename Function>
bool Find(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return function != nullptr;
}

bool FindAll(HMODULE library, Functions& f) {
  return Find(library, "kWabOpen", f.open) && Find(library, "kWabClose", f.close) &&
         Find(library, "kWabGetNumEntries", f.get_num_entries) &&
         Find(library, "kWabGetEntries", f.get_entries) &&
         Find(library, "kWabFreeEntries", f.free_entries) &&
         Find(library, "kWabGetNumProps", f.get_num_props) &&
         Find(library, "kWabGetPropTag", f.get_prop_tag) &&
         Find(library, "kWabGetPropType", f.get_prop_type) &&
         Find(library, "kWabGetProp_String", f.get_string) &&
         Find(library, "kWabGetProp_Short", f.get_short) &&
         Find(library, "kWabGetProp_SysTime", f.get_sys_time) &&
         Find(library, "kWabGetProp_MV_String_Count", f.get_mv_count) &&
         Find(library, "kWabGetProp_MV_String_Data", f.get_mv_data);
}

class WindowsAddressBookLibrary final : public AddressBookLibrary {
 public:
  explicit WindowsAddressBookLibrary(std::shared_ptr<ComponentLocation> location)
      : location_(std::move(location)) {}
  WindowsAddressBookLibrary(const WindowsAddressBookLibrary&) = delete;
  WindowsAddressBookLibrary& operator=(const WindowsAddressBookLibrary&) = delete;
  ~WindowsAddressBookLibrary() override {
    if (library_ != nullptr) FreeLibrary(library_);
  }

  int32_t kWabOpen(WabContext& context) override { return Loaded().open(&context); }
  int32_t kWabClose(WabContext& context) override { return Loaded().close(&context); }
  int32_t kWabGetNumEntries(WabContext& context) override {
    return Loaded().get_num_entries(&context);
  }
  int32_t kWabGetEntries(WabContext& context, WabEntry* first, int32_t count) override {
    return Loaded().get_entries(&context, first, count);
  }
  int32_t kWabFreeEntries(WabContext& context, WabEntry* first, int32_t count) override {
    return Loaded().free_entries(&context, first, count);
  }
  int32_t kWabGetNumProps(WabContext& context, WabEntry& entry) override {
    return Loaded().get_num_props(&context, &entry);
  }
  int32_t kWabGetPropTag(WabContext& context, WabEntry& entry, int32_t index,
                         int32_t reserved) override {
    return Loaded().get_prop_tag(&context, &entry, index, reserved);
  }
  int32_t kWabGetPropType(int32_t tag) override { return Loaded().get_prop_type(tag); }
  int16_t kWabGetProp_String(WabContext& context, WabEntry& entry, int32_t tag, char* buffer,
                             int32_t buffer_size, int32_t* required) override {
    return ReadText(buffer, buffer_size, required, [&] {
      return Loaded().get_string(&context, &entry, tag, buffer, buffer_size,
                                 kwab::kReportRequiredSize);
    });
  }
  int16_t kWabGetProp_Short(WabContext& context, WabEntry& entry, int32_t tag,
                            int16_t& value) override {
    return Loaded().get_short(&context, &entry, tag, &value);
  }
  int16_t kWabGetProp_SysTime(WabContext& context, WabEntry& entry, int32_t tag,
                              FileTime& value) override {
    FILETIME time{value.dwLowDateTime, value.dwHighDateTime};
    const int16_t set = Loaded().get_sys_time(&context, &entry, tag, &time);
    value = FileTime{time.dwLowDateTime, time.dwHighDateTime};
    return set;
  }
  int16_t kWabGetProp_MV_String_Count(WabContext& context, WabEntry& entry, int32_t tag,
                                      int32_t& count) override {
    return Loaded().get_mv_count(&context, &entry, tag, &count);
  }
  int16_t kWabGetProp_MV_String_Data(WabContext& context, WabEntry& entry, int32_t tag,
                                     char* buffer, int32_t buffer_size, int32_t* required,
                                     int32_t index) override {
    return ReadText(buffer, buffer_size, required, [&] {
      return Loaded().get_mv_data(&context, &entry, tag, buffer, buffer_size,
                                  kwab::kReportRequiredSize, index);
    });
  }

 private:
  // Calls a text getter that may answer a too small buffer with the size it
  // needs; hands that size on in `required` and puts the buffer's first bytes
  // back as they were.
  template <typename Getter>
  static int16_t ReadText(char* buffer, int32_t buffer_size, int32_t* required, Getter get) {
    kwab::RequiredSizeAnswer before{};
    const bool can_answer = buffer != nullptr && buffer_size >= int32_t{sizeof before};
    if (can_answer) std::memcpy(&before, buffer, sizeof before);
    const int16_t set = get();
    if (set == 0 && can_answer) {
      kwab::RequiredSizeAnswer answer{};
      std::memcpy(&answer, buffer, sizeof answer);
      const bool answered =
          std::memcmp(answer.mark, kwab::kRequiredSizeMark, sizeof answer.mark) == 0;
      if (answered && required != nullptr) *required = answer.size;
      std::memcpy(buffer, &before, sizeof before);
    }
    return set;
  }

  // The library is shared by every thread that uses the component; the first
  // call to find it missing or not yet loaded loads it, under the lock.
  const Functions& Loaded() {
    AcquireSRWLockExclusive(&lock_);
    struct Unlock {
      SRWLOCK& lock;
      ~Unlock() { ReleaseSRWLockExclusive(&lock); }
    } unlock{lock_};
    if (library_ != nullptr) return functions_;
    const std::u16string beside = location_->ComponentFolder() + u"kwab.dll";
    HMODULE library = LoadLibraryW(WidePointer(beside));
    if (library == nullptr) library = LoadLibraryW(L"kwab.dll");
    if (library == nullptr) throw Error(errors::kFileNotFound);
    Functions found{};
    if (!FindAll(library, found)) {
      FreeLibrary(library);
      throw Error(errors::kFileNotFound);
    }
    library_ = library;
    functions_ = found;
    return functions_;
  }

  std::shared_ptr<ComponentLocation> location_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  HMODULE library_ = nullptr;
  Functions functions_{};
};

}  // namespace

std::shared_ptr<AddressBookLibrary> MakeWindowsAddressBookLibrary(
    std::shared_ptr<ComponentLocation> location) {
  return std::make_shared<WindowsAddressBookLibrary>(std::move(location));
}

}  // namespace orvane::windows
