#include "platform/posix/address_book/session_table.h"

#include <atomic>

namespace orvane::posix {
namespace {

std::atomic<uint64_t> last_handle{0};

}  // namespace

uint64_t SessionTable::Open(SharedDocument document) {
  const uint64_t handle = ++last_handle;
  const std::lock_guard lock(mutex_);
  sessions_.emplace(handle, std::move(document));
  return handle;
}

SharedDocument SessionTable::Find(uint64_t handle) const {
  const std::lock_guard lock(mutex_);
  const auto session = sessions_.find(handle);
  return session == sessions_.end() ? nullptr : session->second;
}

bool SessionTable::Close(uint64_t handle) {
  const std::lock_guard lock(mutex_);
  return sessions_.erase(handle) > 0;
}

}  // namespace orvane::posix
