#include "platform/windows/file_error_mapping.h"

#include <array>

#include "platform/error.h"

namespace orvane::windows {
namespace {

// Facility codes of an HRESULT: system errors and the automation runtime's own.
constexpr uint32_t kFacilityWin32 = 0x80070000;
constexpr uint32_t kFacilityControl = 0x800A0000;

struct SystemError {
  uint32_t code;
  int32_t number;
};

// System error numbers as the file operations meet them.
constexpr std::array<SystemError, 15> kSystemErrors{{
    {2, errors::kFileNotFound},         // ERROR_FILE_NOT_FOUND
    {3, errors::kPathNotFound},         // ERROR_PATH_NOT_FOUND
    {5, errors::kPermissionDenied},     // ERROR_ACCESS_DENIED
    {15, errors::kPathNotFound},        // ERROR_INVALID_DRIVE
    {32, errors::kPermissionDenied},    // ERROR_SHARING_VIOLATION
    {33, errors::kPermissionDenied},    // ERROR_LOCK_VIOLATION
    {39, errors::kDiskFull},            // ERROR_HANDLE_DISK_FULL
    {80, errors::kFileAlreadyExists},   // ERROR_FILE_EXISTS
    {112, errors::kDiskFull},           // ERROR_DISK_FULL
    {123, errors::kPathFileAccessError},// ERROR_INVALID_NAME
    {145, errors::kPathFileAccessError},// ERROR_DIR_NOT_EMPTY
    {161, errors::kPathNotFound},       // ERROR_BAD_PATHNAME
    {183, errors::kFileAlreadyExists},  // ERROR_ALREADY_EXISTS
    {206, errors::kPathFileAccessError},// ERROR_FILENAME_EXCED_RANGE
    {267, errors::kPathNotFound},       // ERROR_DIRECTORY
}};

bool IsFileErrorNumber(int32_t number) {
  switch (number) {
    case errors::kFileNotFound:
    case errors::kFileAlreadyExists:
    case errors::kDiskFull:
    case errors::kPermissionDenied:
    case errors::kPathFileAccessError:
    case errors::kPathNotFound:
      return true;
    default:
      return false;
  }
}

int32_t NumberOfSystemError(uint32_t code) {
  for (const SystemError& error : kSystemErrors) {
    if (error.code == code) return error.number;
  }
  return 0;
}

}  // namespace

int32_t FileErrorNumber(uint32_t code, MissingPath missing) {
  int32_t number = 0;
  if ((code & 0xFFFF0000) == kFacilityControl) {
    number = static_cast<int32_t>(code & 0xFFFF);
    if (!IsFileErrorNumber(number)) number = 0;
  } else if ((code & 0xFFFF0000) == kFacilityWin32) {
    number = NumberOfSystemError(code & 0xFFFF);
  } else if (code <= 0xFFFF) {
    number = NumberOfSystemError(code);
  }
  // A folder operation that finds nothing at its path has lost a folder.
  if (number == errors::kFileNotFound && missing == MissingPath::kFolder) {
    number = errors::kPathNotFound;
  }
  return number;
}

}  // namespace orvane::windows
