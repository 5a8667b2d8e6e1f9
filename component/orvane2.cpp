#include "component/orvane2.h"

#include <algorithm>
#include <utility>

#include "component/call_context.h"
#include "component/call_result.h"
#include "component/item_file_name.h"

namespace orvane {

Orvane2::Orvane2(Module& module) : module_(module) {}

CallContext Orvane2::MakeContext() {
  return CallContext(module_.ThreadState(), module_.platform(),
                     [this](int16_t kind, const std::u16string& result) { RaiseEvent(kind, result); });
}

int32_t Orvane2::ExportItem2(int16_t ItemIdx, int16_t ExportType, std::u16string& filename) {
  CallContext context = MakeContext();
  SharedState& state = context.state;
  if (state.RunActive) return Answered(Error(errors::kArrayLocked));
  const std::optional<Error> failure = Attempt([&] {
    state.FileSys = context.platform.file_systems->CreateFileSystem();
    std::u16string target = filename;
    BuildItemFileName(context, ItemIdx, ExportType, target);
    filename = target;
    if (ExportSource* source = module_.SourceFor(ExportType)) {
      source->OpenSession(context);
      source->ExportItem(context, ItemIdx, filename);
    }
    state.FileSys.reset();
  });
  return Answered(failure);
}

int32_t Orvane2::GetItem(int16_t ItemIdx, int16_t ExportType, std::u16string& Title,
                         AutomationDate& ModifyTime) {
  CallContext context = MakeContext();
  if (context.state.RunActive) return Answered(Error(errors::kArrayLocked));
  const std::optional<Error> failure = Attempt([&] {
    if (ExportSource* source = module_.SourceFor(ExportType)) {
      source->OpenSession(context);
      source->GetItemInfo(context, ItemIdx, Title, ModifyTime);
    }
  });
  return Answered(failure);
}

int16_t Orvane2::itemcount(int16_t ExportType) {
  CallContext context = MakeContext();
  if (context.state.RunActive) {
    Answered(Error(errors::kArrayLocked));
    return -1;
  }
  int16_t count = 0;
  const std::optional<Error> failure = Attempt([&] {
    if (ExportSource* source = module_.SourceFor(ExportType)) {
      source->OpenSession(context);
      count = source->CountItems(context);
    }
  });
  Answered(failure);
  return failure ? int16_t{-1} : count;
}

int32_t Orvane2::Answered(const std::optional<Error>& failure) {
  last_error_ = failure;
  return failure ? failure->number() : 0;
}

void Orvane2::ExportBreak() { module_.ThreadState().BreakRequested = true; }

uint32_t Orvane2::Advise(std::shared_ptr<ExportEvents> sink) {
  const uint32_t cookie = next_cookie_++;
  sinks_.push_back({cookie, std::move(sink)});
  return cookie;
}

void Orvane2::Unadvise(uint32_t cookie) {
  std::erase_if(sinks_, [cookie](const Sink& sink) { return sink.cookie == cookie; });
}

void Orvane2::RaiseEvent(int16_t kind, const std::u16string& result) {
  // A handler may attach or detach sinks, so raise to the sinks of this moment.
  const std::vector<Sink> sinks = sinks_;
  const SharedState& state = module_.ThreadState();
  for (const Sink& sink : sinks) {
    // A failing handler is the host's business; it must not break the run.
    try {
      if (kind == 0) {
        sink.events->ExportProgress(state.TotalCount, state.CurrentCount, state.ProgressText);
      } else {
        sink.events->ExportDone(result, state.LogFilePath + state.LogFileName);
      }
    } catch (...) {
    }
  }
}

}  // namespace orvane
