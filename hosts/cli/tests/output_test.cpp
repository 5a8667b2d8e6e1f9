#include <gtest/gtest.h>

#include "hosts/cli/json_output.h"
#include "hosts/cli/text_output.h"
#include "platform/automation_date.h"

namespace orvane::cli {
namespace {

const CallReport kNoFailure{};

TEST(TextOutputTest, PrintsOneLineValuesAndHonestSummaries) {
  const AutomationDate year_100 = AutomationDateFromParts({100, 1, 2, 3, 4, 5});
  const ExportArguments to_out{"/w/out", "", 3, 0, "", ""};
  const struct {
    std::string printed, expected;
  } cases[] = {
      {ItemText({3, 1, {0, u"Ada\r\nLovelace\x1b", year_100}}, kNoFailure),
       "title: Ada Lovelace?\nmodified: 0100-01-02T03:04:05\n"},
      {ItemText({3, 1, {0, u"Ada", 5e6}}, kNoFailure),
       "title: Ada\nmodified: none (5000000.000000 is no date)\n"},
      {ItemText({3, 1, {0, u"Ada", 0}}, kNoFailure), "title: Ada\nmodified: none\n"},
      {ItemText({4, 1, {0, u"", 0}}, kNoFailure), ""},
      // Aligned for the widest index; a failed item shows its error in place.
      {ListText({3, 10,
                 {{9, {0, u"Ada\tL", year_100}}, {10, {13, u"", 0}}, {10, {0, u"\x1b", 0}}}},
                kNoFailure),
       " 9  0100-01-02T03:04:05  Ada L\n"
       "10  error 13: Type mismatch\n"
       "10  none                 ?\n"},
      {ExportText({to_out, 0, {ProgressEvent{1, 1, u"Ada"}, DoneEvent{}}, false}, kNoFailure),
       "1 item written to /w/out\n"},
      // Contacts folders count from 0 each: 2 items in one, a list and 1 item in the next.
      {ExportText({to_out, 0,
                   {ProgressEvent{2, 0, u"A"}, ProgressEvent{2, 1, u"a"}, ProgressEvent{2, 2, u"b"},
                    ProgressEvent{2, 0, u"B"}, ProgressEvent{1, 0, u"b"}, ProgressEvent{1, 1, u"c"},
                    ProgressEvent{1, 1, u"--finish--"}, DoneEvent{}},
                   false},
                  kNoFailure),
       "3 items written to /w/out\n"},
      {ExportText({to_out, 0,
                   {ProgressEvent{1, 0, u"A"}, ProgressEvent{1, 1, u"a"}, ProgressEvent{5, 0, u"B"},
                    ProgressEvent{5, 1, u"b"}, ProgressEvent{5, 1, u"--cancel--"}, DoneEvent{}},
                   true},
                  kNoFailure),
       "Stopped after 2 of 6 items; the files are in /w/out\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.printed, c.expected);
}

TEST(JsonOutputTest, NamesEveryMemberAndNullsWhatWasNotHandedBack) {
  const struct {
    Json object;
    std::string expected;
  } cases[] = {
      {CountJson({1, -1}, {{{false, "Unable to use the mail client"}},
                           Failure{std::nullopt, "the items could not be counted", {}}}),
       R"({"command":"count","type":1,"result":-1,"count":null,)"
       R"("messages":[{"kind":"information","text":"Unable to use the mail client"}],)"
       R"("error":{"number":null,"description":"the items could not be counted"}})"},
      {CountJson({7, 0}, kNoFailure),
       R"({"command":"count","type":7,"result":0,"count":0,"messages":[],"error":null})"},
      {ItemJson({3, 2, {0, u"Ada", 0}}, kNoFailure),
       R"({"command":"item","type":3,"index":2,"result":0,"title":"Ada","modify_time":null,)"
       R"("modify_time_value":null,"messages":[],"error":null})"},
      {ListJson({3, 2, {{1, {0, u"Ada", 1.5}}, {2, {9, u"", 0}}}}, kNoFailure),
       R"({"command":"list","type":3,"result":2,"count":2,"items":[{"index":1,"result":0,)"
       R"("title":"Ada","modify_time":"1899-12-31T12:00:00","modify_time_value":1.5,)"
       R"("error":null},{"index":2,"result":9,"title":null,"modify_time":null,)"
       R"("modify_time_value":null,"error":{"number":9,"description":"Subscript out of range"}}],)"
       R"("messages":[],"error":null})"},
      {ExportItemJson({9, 1, 0, u"/w/", u""}, kNoFailure),
       R"({"command":"export-item","type":9,"index":1,"result":0,"filename":"/w/","file":null,)"
       R"("messages":[],"error":null})"},
      {ExportItemJson({3, 1, 76, u"/none/x", u""}, {{}, Failure{76, "Path not found", {}}}),
       R"({"command":"export-item","type":3,"index":1,"result":76,"filename":"/none/x",)"
       R"("file":null,"messages":[],"error":{"number":76,"description":"Path not found"}})"},
      {ExportJson({ExportArguments{"/w/out", "card", 3, 1, "", ""}, 0,
                   {ProgressEvent{2, 1, u"Ada"}, DoneEvent{u"", u"/old/run.log"}}, true},
                  {{{true, "Permission denied"}}, std::nullopt}),
       R"({"command":"export","type":3,"destination":"/w/out","name":"card","mode":1,)"
       R"("log_name":"","log_dir":"","result":0,"stopped":true,"items_handled":1,"total":2,)"
       R"("log_file":null,"events":[{"event":"ExportProgress","total":2,"current":1,"text":"Ada"},)"
       R"({"event":"ExportDone","result":"","log_file":"/old/run.log"}],)"
       R"("messages":[{"kind":"critical","text":"Permission denied"}],"error":null})"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonLine(c.object), c.expected + "\n");
}

TEST(JsonOutputTest, KeepsTheLineValidWhateverTheTextHolds) {
  // A path from the command line may be no UTF-8 at all; control characters must be escaped.
  const std::u16string text = std::u16string(u"A\nB\x1b") + char16_t{0xD800};
  const ExportResult run{{"/w/\xFF", "", 3, 0, "", ""}, 0, {ProgressEvent{1, 1, text}}, false};
  const std::string line = JsonLine(ExportJson(run, kNoFailure));
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  EXPECT_NE(line.find(R"("text":"A\nB\u001b)"), std::string::npos) << line;
  EXPECT_TRUE(Json::accept(line)) << line;
}

}  // namespace
}  // namespace orvane::cli
