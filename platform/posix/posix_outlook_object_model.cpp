#include "platform/posix/posix_outlook_object_model.h"

#include "platform/error.h"

namespace orvane::posix {

namespace {
constexpr int32_t kCannotCreateObject = 429;
}  // namespace

std::shared_ptr<OutlookApplication> PosixOutlookObjectModel::CreateApplication() {
  throw Error(kCannotCreateObject, u"Can't create object");
}

}  // namespace orvane::posix
