#include "platform/posix/posix_platform.h"

#include <memory>

#include "platform/posix/address_book/json_address_book.h"
#include "platform/posix/environment.h"
#include "platform/posix/mail_store/mail_store_object_model.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_code_page.h"
#include "platform/posix/posix_component_location.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_file_time.h"
#include "platform/posix/posix_message_box.h"
#include "platform/posix/posix_time_zone.h"
#include "platform/posix/posix_user_language.h"

namespace orvane::posix {

PlatformServices MakePosixPlatform(const PosixOptions& options) {
  const EnvironmentReader environment = ProcessEnvironment();
  PlatformServices services;
  services.path_separator = u'/';
  services.file_systems = std::make_shared<PosixFileSystemFactory>(
      std::make_shared<SystemCalls>(), TemporaryFolderOf(environment));
  services.component_location = std::make_shared<PosixComponentLocation>();
  services.clock = std::make_shared<PosixClock>(TimeLocaleName(environment));
  services.language = std::make_shared<PosixUserLanguage>(environment);
  services.code_page = std::make_shared<PosixCodePage>(
      options.code_page.value_or(SystemCodePageNumber(environment)));
  services.message_box = std::make_shared<PosixMessageBox>();
  services.message_loop = std::make_shared<HookMessageLoop>();
  services.time_zone = std::make_shared<PosixTimeZone>();
  services.file_times = std::make_shared<PosixFileTimeConverter>();
  services.address_book = MakeJsonAddressBookLibrary(services.code_page, services.time_zone,
                                                     options.address_book_file);
  services.outlook = MakeMailStoreObjectModel(services.code_page, services.time_zone,
                                              options.mail_store_file);
  return services;
}

}  // namespace orvane::posix
