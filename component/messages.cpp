#include "component/messages.h"

#include <array>

#include "platform/user_language.h"

namespace orvane {
namespace {

struct CatalogueEntry {
  uint16_t id;
  const char16_t* english;
  const char16_t* traditional_chinese;
  const char16_t* simplified_chinese;
};

// The texts are used exactly as written, including the missing colon of the
// Simplified Chinese 2571.
constexpr std::array<CatalogueEntry, 13> kCatalogue{{
    {msg::kUnableToUseOutlook, u"Unable to use the Outlook module", u"無法使用Outlook元件",
     u"无法使用Outlook元件"},
    {msg::kExportStartingTime, u"Export starting time:", u"匯出開始時間:", u"汇出开始时间"},
    {msg::kFolder, u"Folder:", u"資料夾:", u"资料夹:"},
    {msg::kName, u"Name:", u"名稱:", u"名称:"},
    {msg::kAddressBookCancel, u"--Address book export cancel--", u"--通訊錄匯出取消--",
     u"--通讯簿汇出取消--"},
    {msg::kAddressBookFinish, u"--Address book export finish--", u"--通訊錄匯出完成--",
     u"--通讯簿汇出完成--"},
    {msg::kCalendarsCancel, u"--Calendars export cancel--", u"--行事曆匯出取消--",
     u"--行事历汇出取消--"},
    {msg::kCalendarsFinish, u"--Calendars export finish--", u"--行事曆匯出完成--",
     u"--行事历汇出完成--"},
    {msg::kNoContacts, u"No Contacts", u"無聯絡人", u"无联系人"},
    {msg::kAddressBookEnd, u"--Address book export end--", u"--通訊錄匯出結束--",
     u"--通讯簿汇出结束--"},
    {msg::kContact, u"Contact:", u"聯絡人:", u"联系人:"},
    {msg::kNoAddressBook, u"Does not exist any address book", u"無通訊錄", u"无通讯簿"},
    {msg::kExportDataCount, u"Export Data Count:", u"匯出資料數:", u"汇出资料数:"},
}};

}  // namespace

std::u16string MessageText(uint16_t id, uint16_t language) {
  for (const CatalogueEntry& entry : kCatalogue) {
    if (entry.id != id) continue;
    switch (language) {
      case kLanguageChineseTraditional: return entry.traditional_chinese;
      case kLanguageChineseSimplified: return entry.simplified_chinese;
      default: return entry.english;
    }
  }
  return {};
}

}  // namespace orvane
