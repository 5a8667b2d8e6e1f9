#include <gtest/gtest.h>

#include "hosts/cli/json_output.h"
#include "hosts/cli/tests/printers.h"
#include "hosts/cli/text_output.h"
#include "platform/automation_date.h"

namespace orvane::cli {
namespace {

const Failure kPathNotFound{76, "Path not found", {}};
const Failure kBookUnreadable{
    std::nullopt,
    "cannot open the address book: b.json: line 3: a property must be a [tag, value] pair",
    {"name another one with --address-book FILE"}};

CallReport Report(std::optional<Failure> failure = std::nullopt,
                  std::vector<ShownMessage> messages = {}) {
  return CallReport{std::move(messages), std::move(failure)};
}

ExportArguments ToOut(std::string log_name = {}) {
  ExportArguments arguments{"/w/out", "", 3, 0, std::move(log_name), ""};
  if (!arguments.log_name.empty()) arguments.log_dir = "/w";
  return arguments;
}

std::vector<ExportEvent> ThreeEntries(std::u16string last_text, std::u16string log_file = {}) {
  return {ProgressEvent{3, 0, u"Contact:"},
          ProgressEvent{3, 1, u"Ada"},
          ProgressEvent{3, 2, u"Zoë"},
          ProgressEvent{3, 3, u"Cy"},
          ProgressEvent{3, 3, std::move(last_text)},
          DoneEvent{u"", std::move(log_file)}};
}

struct TextCase {
  std::string what;
  std::string printed;
  std::string expected;
};

TEST(TextOutputTest, PrintsTheValuesOnlyWhenTheCommandSucceeded) {
  const AutomationDate march = AutomationDateFromParts({2005, 3, 1, 12, 0, 0});
  ExportResult stopped{ToOut(),
                       0,
                       {ProgressEvent{5, 0, u"Contact:"}, ProgressEvent{5, 2, u"Bob"},
                        ProgressEvent{5, 2, u"Bob"}, DoneEvent{}},
                       true};
  const TextCase cases[] = {
      {"count", CountText({3, 2}, Report()), "2\n"},
      {"count of an unknown type", CountText({9, 0}, Report()), "0\n"},
      {"failed count", CountText({1, -1}, Report(Failure{std::nullopt, "x", {}})), ""},
      {"unopenable book", CountText({3, 0}, Report(kBookUnreadable)), ""},
      {"item", ItemText({3, 1, 0, u"Ada\nLovelace", march}, Report()),
       "title: Ada Lovelace\nmodified: 2005-03-01T12:00:00\n"},
      {"item without a date", ItemText({3, 1, 0, u"Ada", 5e6}, Report()),
       "title: Ada\nmodified: none (5000000.000000 is no date)\n"},
      {"item in error",
       ItemText({3, 9, 9, u"", 0}, Report(Failure{9, "Subscript out of range", {}})), ""},
      {"item not asked", ItemText({3, 9, std::nullopt, u"", 0}, Report()), ""},
      {"item of an unknown type", ItemText({4, 1, 0, u"", 0}, Report()), ""},
      {"export-item",
       ExportItemText({3, 1, 0, u"/w/ExpressvCard1", u"/w/ExpressvCard1.vcf"}, Report()),
       "/w/ExpressvCard1.vcf\n"},
      {"export-item of an unknown type", ExportItemText({8, 1, 0, u"/w/", u""}, Report()), ""},
      {"export-item in error", ExportItemText({3, 1, 76, u"/none/x", u""}, Report(kPathNotFound)),
       ""},
      {"export", ExportText({ToOut(), 0, ThreeEntries(u"finish"), false}, Report()),
       "3 items written to /w/out\n"},
      {"export with a log",
       ExportText({ToOut("run.log"), 0, ThreeEntries(u"finish", u"/w/run.log"), false}, Report()),
       "3 items written to /w/out\nLog: /w/run.log\n"},
      {"export of one item",
       ExportText({ToOut(), 0, {ProgressEvent{1, 1, u"Ada"}, DoneEvent{}}, false}, Report()),
       "1 item written to /w/out\n"},
      {"export without events", ExportText({ToOut(), 0, {DoneEvent{}}, false}, Report()),
       "0 items written to /w/out\n"},
      {"stopped export", ExportText(stopped, Report()),
       "Stopped after 2 of 5 items; the files are in /w/out\n"},
      {"export of an unopenable book",
       ExportText({ToOut(), 0, {ProgressEvent{0, 0, u"none"}, DoneEvent{}}, false},
                  Report(kBookUnreadable)),
       "0 items written to /w/out\n"},
      {"failed export",
       ExportText({ToOut(), 76, {DoneEvent{u"Path not found", u""}}, false}, Report(kPathNotFound)),
       ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(c.printed, c.expected) << c.what;
}

struct FailureCase {
  Failure failure;
  std::vector<std::string> expected;
};

TEST(FailureLinesTest, NamesTheNumberAndDescriptionThenTheHints) {
  const FailureCase cases[] = {
      {kPathNotFound, {"error 76: Path not found"}},
      {Failure{1234, "", {}}, {"error 1234"}},
      {Failure{std::nullopt, "the items could not be counted", {}},
       {"error: the items could not be counted"}},
      {kBookUnreadable,
       {"error: cannot open the address book: b.json: line 3: a property must be a [tag, value] "
        "pair",
        "name another one with --address-book FILE"}},
  };
  for (const FailureCase& c : cases) EXPECT_EQ(FailureLines(c.failure), c.expected);
}

struct JsonCase {
  std::string what;
  Json object;
  std::string expected;
};

TEST(JsonOutputTest, ShapesOneObjectPerCommand) {
  const AutomationDate march = AutomationDateFromParts({2005, 3, 1, 12, 0, 0});
  const JsonCase cases[] = {
      {"count", CountJson({3, 2}, Report()),
       R"({"command":"count","type":3,"result":2,"count":2,"messages":[],"error":null})"},
      {"failed count",
       CountJson({1, -1}, Report(Failure{std::nullopt, "the items could not be counted", {}},
                                 {{false, "Unable to use the mail client"}})),
       R"({"command":"count","type":1,"result":-1,"count":null,)"
       R"("messages":[{"kind":"information","text":"Unable to use the mail client"}],)"
       R"("error":{"number":null,"description":"the items could not be counted"}})"},
      {"item", ItemJson({3, 1, 0, u"Zoë", march}, Report()),
       R"({"command":"item","type":3,"index":1,"result":0,"title":"Zoë",)"
       R"("modify_time":"2005-03-01T12:00:00","modify_time_value":38412.5,"messages":[],"error":null})"},
      {"item in error",
       ItemJson({3, 7, 9, u"", 0}, Report(Failure{9, "Subscript out of range", {}})),
       R"({"command":"item","type":3,"index":7,"result":9,"title":null,"modify_time":null,)"
       R"("modify_time_value":null,"messages":[],)"
       R"("error":{"number":9,"description":"Subscript out of range"}})"},
      {"item not asked", ItemJson({3, 7, std::nullopt, u"", 0}, Report(kBookUnreadable)),
       R"({"command":"item","type":3,"index":7,"result":null,"title":null,"modify_time":null,)"
       R"("modify_time_value":null,"messages":[],"error":{"number":null,"description":)"
       R"("cannot open the address book: b.json: line 3: a property must be a [tag, value] pair"}})"},
      {"export-item",
       ExportItemJson({3, 1, 0, u"/w/ExpressvCard1", u"/w/ExpressvCard1.vcf"}, Report()),
       R"({"command":"export-item","type":3,"index":1,"result":0,"filename":"/w/ExpressvCard1",)"
       R"("file":"/w/ExpressvCard1.vcf","messages":[],"error":null})"},
      {"export-item in error", ExportItemJson({3, 1, 76, u"/none/x", u""}, Report(kPathNotFound)),
       R"({"command":"export-item","type":3,"index":1,"result":76,"filename":"/none/x",)"
       R"("file":null,"messages":[],"error":{"number":76,"description":"Path not found"}})"},
      {"export",
       ExportJson({ToOut("run.log"),
                   0,
                   {ProgressEvent{1, 0, u"Contact:"}, ProgressEvent{1, 1, u"Ada"},
                    ProgressEvent{1, 1, u"finish"}, DoneEvent{u"", u"/w/run.log"}},
                   false},
                  Report()),
       R"({"command":"export","type":3,"destination":"/w/out","name":"","mode":0,)"
       R"("log_name":"run.log","log_dir":"/w","result":0,"stopped":false,"items_handled":1,)"
       R"("total":1,"log_file":"/w/run.log","events":[)"
       R"({"event":"ExportProgress","total":1,"current":0,"text":"Contact:"},)"
       R"({"event":"ExportProgress","total":1,"current":1,"text":"Ada"},)"
       R"({"event":"ExportProgress","total":1,"current":1,"text":"finish"},)"
       R"({"event":"ExportDone","result":"","log_file":"/w/run.log"}],"messages":[],"error":null})"},
      {"stopped export after a failed copy",
       ExportJson(
           {ExportArguments{"/w/out", "card", 3, 1, "", ""},
            0,
            {ProgressEvent{2, 1, u"Ada"}, DoneEvent{u"", u"/old/run.log"}},
            true},
           Report(Failure{std::nullopt, "the export stopped early after the error above", {}},
                  {{true, "Permission denied"}})),
       R"({"command":"export","type":3,"destination":"/w/out","name":"card","mode":1,)"
       R"("log_name":"","log_dir":"","result":0,"stopped":true,"items_handled":1,"total":2,)"
       R"("log_file":null,"events":[{"event":"ExportProgress","total":2,"current":1,"text":"Ada"},)"
       R"({"event":"ExportDone","result":"","log_file":"/old/run.log"}],)"
       R"("messages":[{"kind":"critical","text":"Permission denied"}],)"
       R"("error":{"number":null,"description":"the export stopped early after the error above"}})"},
  };
  for (const JsonCase& c : cases) EXPECT_EQ(JsonLine(c.object), c.expected + "\n") << c.what;
}

TEST(JsonOutputTest, KeepsTheLineValidWhateverTheTextHolds) {
  // A lone surrogate cannot be UTF-8; control characters must be escaped.
  const std::string line =
      JsonLine(ItemJson({3, 1, 0, std::u16string(u"A\nB\x1b") + char16_t{0xD800}, 0}, Report()));
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  EXPECT_NE(line.find(R"("title":"A\nB\u001b)"), std::string::npos) << line;
  EXPECT_TRUE(Json::accept(line));
}

}  // namespace
}  // namespace orvane::cli
