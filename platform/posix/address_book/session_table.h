#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "platform/posix/address_book/address_book_document.h"

namespace orvane::posix {

// The open sessions of one library: each holds the document it opened, so a
// session reads one unchanging version of the file until it is closed. Handles
// are unique in the process (a context handed to the wrong library finds
// nothing) and never 0. Safe on any thread, for a session used by one thread at
// a time, as its context is.
class SessionTable {
 public:
  uint64_t Open(SharedDocument document);
  // The session's document, which stays while the session is open; null for a
  // handle that is not open. The getters ask for every value, so the last
  // session found on each thread is kept at hand.
  const AddressBookDocument* Find(uint64_t handle) const;
  bool Close(uint64_t handle);

 private:
  const AddressBookDocument* FindLocked(uint64_t handle, uint64_t closed) const;

  mutable std::mutex mutex_;
  std::map<uint64_t, SharedDocument> sessions_;
};

}  // namespace orvane::posix
