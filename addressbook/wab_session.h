#pragma once

#include <cstdint>

#include "component/call_context.h"

namespace orvane {

// One operation's session of the address-book library. Once the library is open,
// every way out of the operation, an error included, frees the fetched entries,
// leaves WabEntries with its single element 0 and closes the library.
class WabSession {
 public:
  // The item count closes the library even when it could not be opened.
  enum class OnFailedOpen { kLeaveClosed, kCloseAnyway };

  // Opens the library; a machine without one counts as a library that cannot be
  // opened. A host that calls in again while an operation yields would share that
  // operation's entry list and session: such a call is refused with error 10.
  WabSession(CallContext& context, OnFailedOpen on_failed_open);
  ~WabSession();
  WabSession(const WabSession&) = delete;
  WabSession& operator=(const WabSession&) = delete;

  bool IsOpen() const { return open_; }
  int32_t CountEntries();
  // Sizes WabEntries to the elements 1 to n and fills them; returns how many the
  // library filled, never more than n.
  int32_t FetchEntries(int32_t n);

 private:
  void Release() noexcept;

  CallContext& context_;
  bool open_ = false;
  bool close_ = false;
  int32_t fetched_ = 0;
};

// An entry count as a 16-bit count; error 6 when it does not fit.
int16_t NarrowWabCount(int32_t n);

// The zone's offset for one operation (UTC minus local time, in hours); 0 on a
// platform without a time zone.
float OperationUtcOffsetHours(const CallContext& context);

}  // namespace orvane
