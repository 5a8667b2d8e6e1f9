#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The outgoing events of Orvane2. A host attaches any number of sinks to one object.
class ExportEvents {
 public:
  virtual ~ExportEvents() = default;
  virtual void ExportProgress(int16_t TotalCount, int16_t CurrentCount,
                              const std::u16string& Text) = 0;
  virtual void ExportDone(const std::u16string& Result, const std::u16string& LogFile) = 0;
};

}  // namespace orvane
