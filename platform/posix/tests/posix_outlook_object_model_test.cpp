#include "platform/posix/posix_outlook_object_model.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace orvane::posix {
namespace {

TEST(PosixOutlookObjectModel, CreatingTheApplicationAlwaysFails) {
  PosixOutlookObjectModel model;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      model.CreateApplication();
      FAIL() << "an application was created";
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), 429);
      EXPECT_EQ(error.description(), u"Can't create object");
    }
  }
}

}  // namespace
}  // namespace orvane::posix
