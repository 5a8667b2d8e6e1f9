#pragma once

#include <string>

#include "platform/posix/environment.h"

namespace orvane::posix {

// Where a data file of this program lives when no host names one.
struct DataFile {
  const char* variable;   // the environment variable that names the file: "ORVANE_MAIL_STORE"
  const char* file_name;  // its name in the data folder: "mail-store.json"
};

// $VARIABLE when set and not empty; else $XDG_DATA_HOME/orvane/FILE_NAME when
// that is an absolute path (the base-directory rules say to ignore a relative
// one); else $HOME/.local/share/orvane/FILE_NAME; empty when HOME is unset too.
std::string DataFileLocation(const EnvironmentReader& environment, const DataFile& file);

}  // namespace orvane::posix
