#include "hosts/cli/json_output.h"

#include "hosts/cli/iso_time.h"
#include "hosts/cli/utf8.h"
#include "platform/error.h"

namespace orvane::cli {
namespace {

template <typename T>
Json OrNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json MessagesJson(const std::vector<ShownMessage>& messages) {
  Json list = Json::array();
  for (const ShownMessage& message : messages) {
    list.push_back(
        {{"kind", message.critical ? "critical" : "information"}, {"text", message.text}});
  }
  return list;
}

Json ErrorJson(const std::optional<Failure>& failure) {
  if (!failure) return nullptr;
  return {{"number", OrNull(failure->number)}, {"description", failure->description}};
}

Json ErrorJson(int32_t number) {
  return {{"number", number}, {"description", Utf8(DescriptionOf(number))}};
}

// "result", then the title and the time when GetItem answered 0; an item
// without a modification time has null for both of the time's members.
Json ItemValuesJson(const ItemValues& values) {
  const bool answered = values.result == 0;
  const bool dated = answered && values.modify_time != 0;
  return {{"result", values.result},
          {"title", answered ? Json(Utf8(values.title)) : Json(nullptr)},
          {"modify_time", dated ? OrNull(IsoTextOf(values.modify_time)) : Json(nullptr)},
          {"modify_time_value", dated ? Json(values.modify_time) : Json(nullptr)}};
}

// The members every command ends with.
Json WithReport(Json object, const CallReport& report) {
  object["messages"] = MessagesJson(report.messages);
  object["error"] = ErrorJson(report.failure);
  return object;
}

Json EventJson(const ExportEvent& event) {
  if (const auto* progress = std::get_if<ProgressEvent>(&event)) {
    return {{"event", "ExportProgress"},
            {"total", progress->total},
            {"current", progress->current},
            {"text", Utf8(progress->text)}};
  }
  const auto& done = std::get<DoneEvent>(event);
  return {
      {"event", "ExportDone"}, {"result", Utf8(done.result)}, {"log_file", Utf8(done.log_file)}};
}

Json EventsJson(const std::vector<ExportEvent>& events) {
  Json list = Json::array();
  for (const ExportEvent& event : events) list.push_back(EventJson(event));
  return list;
}

}  // namespace

Json CountJson(const CountResult& count, const CallReport& report) {
  Json object = {{"command", "count"}, {"type", count.type}, {"result", count.result}};
  object["count"] = count.result >= 0 ? Json(count.result) : Json(nullptr);
  return WithReport(std::move(object), report);
}

Json ListJson(const ListResult& list, const CallReport& report) {
  Json object = {{"command", "list"}, {"type", list.type}, {"result", list.count}};
  object["count"] = list.count >= 0 ? Json(list.count) : Json(nullptr);
  Json items = Json::array();
  for (const ListedItem& item : list.items) {
    Json listed = {{"index", item.index}};
    listed.update(ItemValuesJson(item.values));
    listed["error"] = item.values.result == 0 ? Json(nullptr) : ErrorJson(item.values.result);
    items.push_back(std::move(listed));
  }
  object["items"] = std::move(items);
  return WithReport(std::move(object), report);
}

Json ItemJson(const ItemResult& item, const CallReport& report) {
  Json object = {{"command", "item"}, {"type", item.type}, {"index", item.index}};
  object.update(ItemValuesJson(item.values));
  return WithReport(std::move(object), report);
}

Json ExportItemJson(const ExportItemResult& item, const CallReport& report) {
  Json object = {{"command", "export-item"},
                 {"type", item.type},
                 {"index", item.index},
                 {"result", item.result},
                 {"filename", Utf8(item.filename)}};
  object["file"] = item.file.empty() ? Json(nullptr) : Json(Utf8(item.file));
  return WithReport(std::move(object), report);
}

Json ExportJson(const ExportResult& run, const CallReport& report) {
  const ExportArguments& arguments = run.arguments;
  const RunTally tally = TallyOf(run.events);
  Json object = {{"command", "export"},
                 {"type", arguments.type},
                 {"destination", arguments.destination},
                 {"name", arguments.name},
                 {"mode", arguments.mode},
                 {"log_name", arguments.log_name},
                 {"log_dir", arguments.log_dir},
                 {"result", run.result},
                 {"stopped", run.stopped},
                 {"items_handled", tally.handled},
                 {"total", tally.total}};
  object["log_file"] =
      arguments.log_name.empty() ? Json(nullptr) : Json(Utf8(LogFileOf(run.events)));
  object["events"] = EventsJson(run.events);
  return WithReport(std::move(object), report);
}

std::string JsonLine(const Json& object) {
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace orvane::cli
