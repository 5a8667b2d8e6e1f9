#pragma once

#include <memory>

#include "platform/posix/stamped_file.h"

namespace orvane::windows::kwab {

// The data-file reader of the JSON address book on Windows. Paths are UTF-8;
// only files on a disk are read, never a pipe, a console or a device.
std::shared_ptr<posix::StampedFileReader> MakeWindowsFileReader();

}  // namespace orvane::windows::kwab
