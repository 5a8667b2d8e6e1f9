#include "component/messages.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace orvane {
namespace {

using testing::Narrow;

TEST(MessageTextTest, TextsInEachLanguageAndEnglishForOthers) {
  struct Row {
    uint16_t id;
    uint16_t language;
    const char* text;
  };
  const Row rows[] = {{2571, 1033, "Export starting time:"},
                      {2571, 1028, "匯出開始時間:"},
                      {2571, 2052, "汇出开始时间"},
                      {7306, 1033, "--Calendars export finish--"},
                      {7306, 0, "--Calendars export finish--"},
                      {7306, 1041, "--Calendars export finish--"},
                      {7301, 2052, "资料夹:"},
                      {7303, 1028, "--通訊錄匯出取消--"},
                      {7310, 2052, "无通讯簿"},
                      {2567, 1028, "無法使用Outlook元件"},
                      {1234, 1033, ""}};
  for (const Row& row : rows) {
    EXPECT_EQ(Narrow(MessageText(row.id, row.language)), row.text) << row.id << " in " << row.language;
  }
}

TEST(MessageTextTest, EveryMessageExistsAndFinishedDiffersFromStoppedInEveryLanguage) {
  const uint16_t ids[] = {2567, 2571, 7301, 7302, 7303, 7304, 7305,
                          7306, 7307, 7308, 7309, 7310, 7409};
  for (uint16_t language : {uint16_t{1033}, uint16_t{1028}, uint16_t{2052}}) {
    for (uint16_t id : ids) EXPECT_FALSE(MessageText(id, language).empty()) << id;
    EXPECT_NE(MessageText(msg::kAddressBookCancel, language),
              MessageText(msg::kAddressBookFinish, language));
    EXPECT_NE(MessageText(msg::kCalendarsCancel, language),
              MessageText(msg::kCalendarsFinish, language));
  }
}

}  // namespace
}  // namespace orvane
