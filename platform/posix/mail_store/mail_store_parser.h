#pragma once

#include <string>

#include "platform/posix/mail_store/mail_store_document.h"
#include "platform/posix/stamped_file_cache.h"

namespace orvane::posix {

// Reads the JSON text of a mail-store file (UTF-8):
//   {"contacts": FOLDER, "calendar": FOLDER}
//   FOLDER = {"name": ..., "defaultMessageClass": ..., "items": [ITEM...], "folders": [FOLDER...]}
//   ITEM = {"class": 40, "subject": ..., "lastModificationTime": ..., and the item's fields}
// Without a document, the problem names the line and the place:
//   "line 12: "contacts", folder 2, item 3: "birthday" wants an ISO 8601 time ..."
ParsedText<MailStoreDocument> ParseMailStore(std::string text);

}  // namespace orvane::posix
