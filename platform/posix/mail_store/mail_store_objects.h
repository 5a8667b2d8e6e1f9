#pragma once

#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/outlook_object_model.h"
#include "platform/posix/mail_store/mail_store_document.h"
#include "platform/posix/system_calls.h"
#include "platform/time_zone.h"

namespace orvane::posix {

// What the objects of an open store use besides the store itself.
struct StoreServices {
  std::shared_ptr<CodePage> code_page;
  std::shared_ptr<TimeZone> time_zone;
  std::shared_ptr<SystemCalls> calls;
};

// The application object over one version of a store; it and every object
// reached from it keep that version alive.
std::shared_ptr<OutlookApplication> MakeStoreApplication(SharedMailStore store,
                                                         StoreServices services);

// A stored time as the automation date a reader sees: universal times in the
// local time of the bias in force, local ones as written; day 0 when there is
// none or it cannot be shown.
AutomationDate LocalAutomationDate(const std::optional<StoredTime>& time,
                                   const TimeZoneInformation& zone);

}  // namespace orvane::posix
