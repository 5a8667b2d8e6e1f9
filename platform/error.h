#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace orvane {

// Error numbers shared by the component and the platform services. They are
// the classic automation runtime numbers, so hosts can compare them directly.
namespace errors {
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kArrayLocked = 10;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kInternalError = 51;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kMemberNotSupported = 438;
}  // namespace errors

// The English description that goes with a known error number; empty for others.
std::u16string DescriptionOf(int32_t number);

// A failure inside the component: it travels up by exception and becomes the
// result of the public method that was called.
class Error : public std::exception {
 public:
  explicit Error(int32_t number);  // with the standard description
  Error(int32_t number, std::u16string description);

  int32_t number() const noexcept { return number_; }
  const std::u16string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "orvane::Error"; }

 private:
  int32_t number_;
  std::u16string description_;
};

}  // namespace orvane
