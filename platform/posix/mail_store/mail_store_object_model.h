#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/code_page.h"
#include "platform/outlook_object_model.h"
#include "platform/posix/environment.h"
#include "platform/posix/mail_store/mail_store_document.h"
#include "platform/posix/stamped_file_cache.h"
#include "platform/posix/system_calls.h"
#include "platform/time_zone.h"

namespace orvane::posix {

using MailStoreCache = StampedFileCache<MailStoreDocument>;

// The cache that every object model of this process shares.
std::shared_ptr<MailStoreCache> ProcessMailStoreCache();

// $ORVANE_MAIL_STORE when set and not empty; else $XDG_DATA_HOME/orvane/mail-store.json
// when that is absolute; else $HOME/.local/share/orvane/mail-store.json; empty
// when HOME is unset too.
std::string DefaultMailStoreFile(const EnvironmentReader& environment);

// Everything the object model depends on, so that tests can put their own in.
struct MailStoreSettings {
  std::shared_ptr<CodePage> code_page;  // the bytes of saved files
  std::shared_ptr<TimeZone> time_zone;  // local times of universal ones
  std::string file;                     // empty: DefaultMailStoreFile(environment) at each creation
  std::shared_ptr<MailStoreCache> cache;
  EnvironmentReader environment;
  std::shared_ptr<SystemCalls> calls;  // the file writes of SaveAs
};

// The stand-in for the mail client: its object model answers from a mail store
// read from a JSON file. Each application object keeps the version of the
// store it was created with, whatever happens to the file afterwards.
class MailStoreObjectModel final : public OutlookObjectModel {
 public:
  // Throws std::invalid_argument when a dependency is missing.
  explicit MailStoreObjectModel(MailStoreSettings settings);

  // Error 429 when there is no readable, well-formed store.
  std::shared_ptr<OutlookApplication> CreateApplication() override;

  // Why the last creation failed ("/home/u/store.json: line 3: ..."); empty
  // when it succeeded or none was tried.
  std::u16string OpenFailureReason() const;

 private:
  std::string StorePath() const;
  void RememberFailure(std::string reason);

  const MailStoreSettings settings_;
  mutable std::mutex failure_mutex_;
  std::string failure_;
};

// The object model on the store `file` (empty: the default rules), with the
// process's environment, cache and file layer.
std::shared_ptr<MailStoreObjectModel> MakeMailStoreObjectModel(std::shared_ptr<CodePage> code_page,
                                                               std::shared_ptr<TimeZone> time_zone,
                                                               std::string file = {});

}  // namespace orvane::posix
