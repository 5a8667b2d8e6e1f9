#include "platform/posix/error_mapping.h"

#include <cerrno>

#include "platform/error.h"

namespace orvane::posix {

int32_t ErrorNumberFromErrno(int os_error, MissingPath missing) {
  switch (os_error) {
    case ENOENT:
      return missing == MissingPath::kFile ? errors::kFileNotFound : errors::kPathNotFound;
    // A part of the path is not a usable folder: the path cannot be reached.
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return errors::kPathNotFound;
    case EEXIST:
      return errors::kFileAlreadyExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return errors::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return errors::kPermissionDenied;
    case ENOMEM:
      return errors::kOutOfMemory;
    // EISDIR, EBUSY, ETXTBSY, ENOTEMPTY, EIO, EXDEV, EMFILE and the rest: the path
    // exists but cannot be used that way.
    default:
      return errors::kPathFileAccessError;
  }
}

void ThrowForErrno(int os_error, MissingPath missing) {
  throw Error(ErrorNumberFromErrno(os_error, missing));
}

bool IsWriteRefusal(int os_error) {
  return os_error == EACCES || os_error == EPERM || os_error == EROFS;
}

bool IsAbsence(int os_error) {
  return os_error == ENOENT || os_error == ENOTDIR || os_error == ENAMETOOLONG ||
         os_error == ELOOP;
}

}  // namespace orvane::posix
