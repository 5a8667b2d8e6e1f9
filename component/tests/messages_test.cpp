#include "component/messages.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::Narrow;

TEST(MessageTextTest, StartingTimeInEachLanguage) {
  EXPECT_EQ(MessageText(msg::kExportStartingTime, 1033), u"Export starting time:");
  EXPECT_EQ(MessageText(msg::kExportStartingTime, 1028), u"匯出開始時間:");
  EXPECT_EQ(MessageText(msg::kExportStartingTime, 2052), u"汇出开始时间");
}

TEST(MessageTextTest, OtherLanguagesGetEnglish) {
  for (int language : {0, 1031, 1041, 3076}) {
    EXPECT_EQ(MessageText(msg::kCalendarsFinish, static_cast<uint16_t>(language)), u"--Calendars export finish--");
  }
}

TEST(MessageTextTest, EveryMessageExistsInEveryLanguage) {
  const uint16_t ids[] = {2567, 2571, 7301, 7302, 7303, 7304, 7305,
                          7306, 7307, 7308, 7309, 7310, 7409};
  for (uint16_t id : ids) {
    for (uint16_t language : {uint16_t{1033}, uint16_t{1028}, uint16_t{2052}}) {
      EXPECT_FALSE(MessageText(id, language).empty()) << id << " in " << language;
    }
  }
  EXPECT_TRUE(MessageText(1234, 1033).empty());
}

TEST(MessageTextTest, FinishedAndStoppedTextsDifferInEveryLanguage) {
  for (uint16_t language : {uint16_t{1033}, uint16_t{1028}, uint16_t{2052}}) {
    EXPECT_NE(MessageText(msg::kAddressBookCancel, language),
              MessageText(msg::kAddressBookFinish, language));
    EXPECT_NE(MessageText(msg::kCalendarsCancel, language),
              MessageText(msg::kCalendarsFinish, static_cast<uint16_t>(language)));
  }
}

TEST(MessageTextTest, SampleOfTheCatalogue) {
  struct Row {
    uint16_t id;
    uint16_t language;
    const char* text;
  };
  const Row rows[] = {{7301, 2052, "资料夹:"},
                      {7303, 1028, "--通訊錄匯出取消--"},
                      {7306, 1028, "--行事曆匯出完成--"},
                      {7307, 1033, "No Contacts"},
                      {7310, 2052, "无通讯簿"},
                      {7409, 1033, "Export Data Count:"},
                      {2567, 1028, "無法使用Outlook元件"}};
  for (const Row& row : rows) EXPECT_EQ(Narrow(MessageText(row.id, row.language)), row.text);
}

}  // namespace
}  // namespace orvane
