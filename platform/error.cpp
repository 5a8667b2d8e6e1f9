#include "platform/error.h"

#include <utility>

namespace orvane {

std::u16string DescriptionOf(int32_t number) {
  switch (number) {
    case errors::kInvalidProcedureCall: return u"Invalid procedure call or argument";
    case errors::kOverflow: return u"Overflow";
    case errors::kOutOfMemory: return u"Out of memory";
    case errors::kSubscriptOutOfRange: return u"Subscript out of range";
    case errors::kArrayLocked: return u"This array is fixed or temporarily locked";
    case errors::kTypeMismatch: return u"Type mismatch";
    case errors::kInternalError: return u"Internal error";
    case errors::kFileNotFound: return u"File not found";
    case errors::kFileAlreadyExists: return u"File already exists";
    case errors::kDiskFull: return u"Disk full";
    case errors::kPermissionDenied: return u"Permission denied";
    case errors::kPathFileAccessError: return u"Path/File access error";
    case errors::kPathNotFound: return u"Path not found";
    case errors::kObjectNotSet: return u"Object variable or With block variable not set";
    case errors::kCannotCreateObject: return u"ActiveX component can't create object";
    case errors::kMemberNotSupported: return u"Object doesn't support this property or method";
    default: return u"";
  }
}

Error::Error(int32_t number) : Error(number, DescriptionOf(number)) {}

Error::Error(int32_t number, std::u16string description)
    : number_(number), description_(std::move(description)) {}

}  // namespace orvane
