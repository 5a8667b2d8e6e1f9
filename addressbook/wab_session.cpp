#include "addressbook/wab_session.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "addressbook/vcard_writer.h"
#include "platform/error.h"

namespace orvane {
namespace {

// The sessions open on this thread, by the context they use.
std::vector<const orvane::WabContext*>& OpenSessions() {
  thread_local std::vector<const orvane::WabContext*> sessions;
  return sessions;
}

bool HasOpenSession(const orvane::WabContext& wab_context) {
  const auto& sessions = OpenSessions();
  return std::find(sessions.begin(), sessions.end(), &wab_context) != sessions.end();
}

}  // namespace

WabSession::WabSession(CallContext& context, OnFailedOpen on_failed_open) : context_(context) {
  SharedState& state = context_.state;
  if (HasOpenSession(state.WabContext)) throw Error(errors::kArrayLocked);
  AddressBookLibrary* library = context_.platform.address_book.get();
  if (library == nullptr) return;
  OpenSessions().push_back(&state.WabContext);
  try {
    open_ = library->kWabOpen(state.WabContext) != 0;
  } catch (...) {
    OpenSessions().pop_back();
    throw;
  }
  close_ = open_ || on_failed_open == OnFailedOpen::kCloseAnyway;
  if (!close_) OpenSessions().pop_back();
}

WabSession::~WabSession() { Release(); }

int32_t WabSession::CountEntries() {
  return context_.platform.address_book->kWabGetNumEntries(context_.state.WabContext);
}

int32_t WabSession::FetchEntries(int32_t n) {
  SharedState& state = context_.state;
  state.WabEntries.assign(static_cast<size_t>(std::max(n, 0)) + 1, WabEntry{});
  if (n <= 0) return 0;
  const int32_t filled =
      context_.platform.address_book->kWabGetEntries(state.WabContext, &state.WabEntries[1], n);
  fetched_ = std::clamp(filled, 0, n);
  return fetched_;
}

void WabSession::Release() noexcept {
  if (!close_) return;
  SharedState& state = context_.state;
  AddressBookLibrary& library = *context_.platform.address_book;
  // The library's results are of no use here, and a failure must not hide the
  // operation's own outcome.
  try {
    const size_t upper_bound = state.WabEntries.size() - 1;
    if (fetched_ > 0 && upper_bound > 0) {
      library.kWabFreeEntries(state.WabContext, &state.WabEntries[1],
                              static_cast<int32_t>(upper_bound));
    }
  } catch (...) {
  }
  state.WabEntries.assign(1, WabEntry{});
  try {
    library.kWabClose(state.WabContext);
  } catch (...) {
  }
  std::erase(OpenSessions(), &state.WabContext);
}

int16_t NarrowWabCount(int32_t n) {
  if (n < std::numeric_limits<int16_t>::min() || n > std::numeric_limits<int16_t>::max()) {
    throw Error(errors::kOverflow);
  }
  return static_cast<int16_t>(n);
}

float OperationUtcOffsetHours(const CallContext& context) {
  if (!context.platform.time_zone) return 0;
  return GetUtcOffsetHours(*context.platform.time_zone);
}

}  // namespace orvane
