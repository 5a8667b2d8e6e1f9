#include "platform/posix/posix_outlook_object_model.h"

#include "platform/error.h"

namespace orvane::posix {

std::shared_ptr<OutlookApplication> PosixOutlookObjectModel::CreateApplication() {
  throw Error(errors::kCannotCreateObject);
}

}  // namespace orvane::posix
