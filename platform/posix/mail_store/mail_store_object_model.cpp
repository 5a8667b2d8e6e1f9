#include "platform/posix/mail_store/mail_store_object_model.h"

#include <stdexcept>

#include "platform/error.h"
#include "platform/posix/data_file_location.h"
#include "platform/posix/mail_store/mail_store_objects.h"
#include "platform/posix/mail_store/mail_store_parser.h"
#include "platform/posix/text_conversion.h"

namespace orvane::posix {

std::shared_ptr<MailStoreCache> ProcessMailStoreCache() {
  static const auto cache = std::make_shared<MailStoreCache>(MakePosixFileReader(), ParseMailStore);
  return cache;
}

std::string DefaultMailStoreFile(const EnvironmentReader& environment) {
  return DataFileLocation(environment, {"ORVANE_MAIL_STORE", "mail-store.json"});
}

MailStoreObjectModel::MailStoreObjectModel(MailStoreSettings settings)
    : settings_(std::move(settings)) {
  if (!settings_.code_page || !settings_.time_zone || !settings_.cache || !settings_.environment ||
      !settings_.calls) {
    throw std::invalid_argument("the mail-store object model needs all its services");
  }
}

std::shared_ptr<OutlookApplication> MailStoreObjectModel::CreateApplication() {
  const std::string path = StorePath();
  if (path.empty()) {
    RememberFailure("no mail store file: neither ORVANE_MAIL_STORE nor HOME is set");
    throw Error(errors::kCannotCreateObject);
  }
  const LoadedFile<MailStoreDocument> loaded = settings_.cache->Load(path);
  if (!loaded.document) {
    RememberFailure(loaded.failure);
    throw Error(errors::kCannotCreateObject);
  }
  RememberFailure({});
  return MakeStoreApplication(
      loaded.document, StoreServices{settings_.code_page, settings_.time_zone, settings_.calls});
}

std::u16string MailStoreObjectModel::OpenFailureReason() const {
  const std::lock_guard lock(failure_mutex_);
  return DecodeUtf8(failure_);
}

std::string MailStoreObjectModel::StorePath() const {
  return settings_.file.empty() ? DefaultMailStoreFile(settings_.environment) : settings_.file;
}

void MailStoreObjectModel::RememberFailure(std::string reason) {
  const std::lock_guard lock(failure_mutex_);
  failure_ = std::move(reason);
}

std::shared_ptr<MailStoreObjectModel> MakeMailStoreObjectModel(std::shared_ptr<CodePage> code_page,
                                                               std::shared_ptr<TimeZone> time_zone,
                                                               std::string file) {
  return std::make_shared<MailStoreObjectModel>(MailStoreSettings{
      std::move(code_page), std::move(time_zone), std::move(file), ProcessMailStoreCache(),
      ProcessEnvironment(), std::make_shared<SystemCalls>()});
}

}  // namespace orvane::posix
