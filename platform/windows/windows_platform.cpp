#include "platform/windows/windows_platform.h"

#include "platform/windows/windows_address_book.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_outlook_object_model.h"
#include "platform/windows/windows_services.h"

namespace orvane::windows {

PlatformServices MakeWindowsPlatform(HMODULE module) {
  PlatformServices services;
  services.path_separator = u'\\';
  services.file_systems = std::make_shared<WindowsFileSystemFactory>();
  services.component_location = std::make_shared<WindowsComponentLocation>(module);
  services.clock = std::make_shared<WindowsClock>();
  services.language = std::make_shared<WindowsUserLanguage>();
  services.code_page = std::make_shared<WindowsCodePage>();
  services.message_box = std::make_shared<WindowsMessageBox>();
  services.message_loop = std::make_shared<WindowsMessageLoop>();
  services.time_zone = std::make_shared<WindowsTimeZone>();
  services.file_times = std::make_shared<WindowsFileTimeConverter>();
  services.address_book = MakeWindowsAddressBookLibrary(services.component_location);
  services.outlook = std::make_shared<WindowsOutlookObjectModel>();
  return services;
}

}  // namespace orvane::windows
