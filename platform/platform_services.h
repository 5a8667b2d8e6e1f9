#pragma once

#include <memory>

#include "platform/address_book_library.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/component_location.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/outlook_object_model.h"
#include "platform/time_zone.h"
#include "platform/user_language.h"

namespace orvane {

// Every service the component takes from its platform. A host (or a test)
// builds one of these and hands it to the component; nothing is reached through
// globals, so each service can be replaced on its own.
struct PlatformServices {
  char16_t path_separator = u'/';
  std::shared_ptr<FileSystemFactory> file_systems;
  std::shared_ptr<ComponentLocation> component_location;
  std::shared_ptr<Clock> clock;
  std::shared_ptr<UserLanguage> language;
  std::shared_ptr<CodePage> code_page;
  std::shared_ptr<MessageBox> message_box;
  std::shared_ptr<MessageLoop> message_loop;
  std::shared_ptr<TimeZone> time_zone;
  std::shared_ptr<FileTimeConverter> file_times;
  std::shared_ptr<AddressBookLibrary> address_book;
  std::shared_ptr<OutlookObjectModel> outlook;
};

}  // namespace orvane
