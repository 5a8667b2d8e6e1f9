#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component/export_events.h"
#include "component/module.h"
#include "platform/clock.h"
#include "platform/error.h"

namespace orvane {

class CallContext;

// The component's one class. It has no state of its own: every object on a
// thread shares that thread's state in the Module. No error ever leaves a
// public method; each returns a result number instead.
class Orvane2 {
 public:
  explicit Orvane2(Module& module);
  Orvane2(const Orvane2&) = delete;
  Orvane2& operator=(const Orvane2&) = delete;

  // Exports item ItemIdx to one file; `filename` gets the target path back.
  int32_t ExportItem2(int16_t ItemIdx, int16_t ExportType, std::u16string& filename);
  // Title and last modification time of one item.
  int32_t GetItem(int16_t ItemIdx, int16_t ExportType, std::u16string& Title,
                  AutomationDate& ModifyTime);
  // Number of items; 0 for an unknown type, -1 on error.
  int16_t itemcount(int16_t ExportType);
  // The whole-export run.
  int32_t Export2(const std::u16string& Destination, const std::u16string& Exportname,
                  int16_t ExportType, std::optional<int16_t> ExportMode = std::nullopt,
                  const std::u16string& LogName = {}, const std::u16string& LogPath = {});
  // Asks a running Export2 to stop before its next item.
  void ExportBreak();

  // The error that ended this object's most recent ExportItem2, GetItem,
  // itemcount or Export2; nothing when that call ended normally. itemcount can
  // only answer -1, so this is where a host learns why it failed.
  const std::optional<Error>& LastCallError() const { return last_error_; }

  // Connection points: a sink stays attached until Unadvise with its cookie.
  uint32_t Advise(std::shared_ptr<ExportEvents> sink);
  void Unadvise(uint32_t cookie);

 private:
  struct Sink {
    uint32_t cookie;
    std::shared_ptr<ExportEvents> events;
  };

  CallContext MakeContext();
  void RaiseEvent(int16_t kind, const std::u16string& result);
  std::optional<Error> RunExport(CallContext& context, const std::u16string& Destination,
                                 const std::u16string& Exportname, int16_t ExportType,
                                 std::optional<int16_t> ExportMode, const std::u16string& LogName,
                                 const std::u16string& LogPath);

  // Keeps what a finished call reported, then hands its result on.
  int32_t Answered(const std::optional<Error>& failure);

  Module& module_;
  std::optional<Error> last_error_;
  std::vector<Sink> sinks_;
  uint32_t next_cookie_ = 1;
};

}  // namespace orvane
