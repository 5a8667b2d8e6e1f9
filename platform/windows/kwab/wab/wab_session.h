#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/windows/kwab/wab/wab_headers.h"

namespace orvane::windows::kwab {

using WabValue = std::variant<std::monostate,           // a type the component does not read
                              int16_t,                  // PT_I2
                              std::string,              // PT_STRING8
                              FILETIME,                 // PT_SYSTIME, in UTC
                              std::vector<std::string>  // PT_MV_STRING8
                              >;

struct WabProperty {
  uint32_t tag = 0;
  WabValue value;
};

// The user's Windows Address Book, open: the person entries of its personal
// address book in the book's own order (distribution lists left out), and the
// properties of each as they are read. Everything the WAB hands out is
// released or freed on every way out; the session is used by one thread at a time.
class WabSession {
 public:
  // Null when wab32.dll cannot be found or the book cannot be opened and listed.
  static std::unique_ptr<WabSession> Open();
  ~WabSession();
  WabSession(const WabSession&) = delete;
  WabSession& operator=(const WabSession&) = delete;

  size_t PersonCount() const { return persons_.size(); }
  // The properties of person `index` (from 0), read from the book at the first
  // call and kept; empty when the entry cannot be read.
  const std::vector<WabProperty>& PropertiesOf(size_t index);
  // Drops what PropertiesOf kept for person `index`.
  void Forget(size_t index);

 private:
  struct Person {
    std::vector<BYTE> entry_id;
    std::unique_ptr<std::vector<WabProperty>> properties;  // null until read
  };

  WabSession() = default;
  bool ListPersons();
  std::vector<WabProperty> ReadProperties(std::vector<BYTE>& entry_id);

  // Released by the destructor: the book, then the WAB object, then the DLL.
  HMODULE module_ = nullptr;
  LPWABOBJECT wab_ = nullptr;
  LPADRBOOK book_ = nullptr;
  std::vector<Person> persons_;
};

}  // namespace orvane::windows::kwab
