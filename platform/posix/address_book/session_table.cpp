#include "platform/posix/address_book/session_table.h"

#include <atomic>

namespace orvane::posix {
namespace {

std::atomic<uint64_t> last_handle{0};
// Grows at every close, so that a thread's last session found is not taken for
// one that has been closed meanwhile.
std::atomic<uint64_t> closings{0};

struct FoundSession {
  const SessionTable* table = nullptr;
  uint64_t handle = 0;
  uint64_t closings = 0;
  const AddressBookDocument* document = nullptr;
};
thread_local FoundSession last_found;

}  // namespace

uint64_t SessionTable::Open(SharedDocument document) {
  const uint64_t handle = ++last_handle;
  const std::lock_guard lock(mutex_);
  sessions_.emplace(handle, std::move(document));
  return handle;
}

const AddressBookDocument* SessionTable::Find(uint64_t handle) const {
  const uint64_t closed = closings.load(std::memory_order_acquire);
  if (last_found.table == this && last_found.handle == handle && last_found.closings == closed) {
    return last_found.document;
  }
  return FindLocked(handle, closed);
}

// Apart from Find, so that the path taken at nearly every call saves no
// registers for this one.
[[gnu::noinline]] const AddressBookDocument* SessionTable::FindLocked(uint64_t handle,
                                                                      uint64_t closed) const {
  const std::lock_guard lock(mutex_);
  const auto session = sessions_.find(handle);
  if (session == sessions_.end()) return nullptr;
  last_found = {this, handle, closed, session->second.get()};
  return last_found.document;
}

bool SessionTable::Close(uint64_t handle) {
  const std::lock_guard lock(mutex_);
  if (sessions_.erase(handle) == 0) return false;
  closings.fetch_add(1, std::memory_order_release);
  return true;
}

}  // namespace orvane::posix
