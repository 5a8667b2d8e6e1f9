#include "component/call_context.h"
#include "component/call_result.h"
#include "component/export_type.h"
#include "component/file_operations.h"
#include "component/orvane2.h"
#include "component/run_log.h"

namespace orvane {
namespace {

// Sets `kept` to `folder` with the separator at its end, then creates that
// folder (one level) when it is missing.
void PrepareFolder(CallContext& context, std::u16string& kept, const std::u16string& folder) {
  kept = folder;
  if (kept.empty() || kept.back() != context.Separator()) kept += context.Separator();
  FileSystem& fs = *context.state.FileSys;
  if (!fs.FolderExists(kept)) fs.CreateFolder(kept);
}

void ResetRunState(SharedState& state, std::optional<int16_t> ExportMode) {
  state.CombineMode = ExportMode == 1 ? 1 : 0;
  state.ProgressText.clear();
  state.TotalCount = 0;
  state.CurrentCount = 0;
  state.BreakRequested = false;
  state.LogText.clear();
}

// In combined mode every item of the run also went into one file in the working
// folder; it joins the destination before the working folder is removed.
void DeliverCombinedFile(CallContext& context, int16_t ExportType) {
  SharedState& state = context.state;
  if (state.CombineMode != 1) return;
  const std::u16string combined = state.TempFolder + state.ExportFileName + ExtensionOf(ExportType);
  if (state.FileSys->FileExists(combined)) state.FileSys->CopyFile(combined, state.ExportDestination);
}

// Marks the thread's run as active for as long as it exists.
class ActiveRun {
 public:
  explicit ActiveRun(SharedState& state) : state_(state) { state_.RunActive = true; }
  ~ActiveRun() { state_.RunActive = false; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;

 private:
  SharedState& state_;
};

}  // namespace

int32_t Orvane2::Export2(const std::u16string& Destination, const std::u16string& Exportname,
                         int16_t ExportType, std::optional<int16_t> ExportMode,
                         const std::u16string& LogName, const std::u16string& LogPath) {
  CallContext context = MakeContext();
  if (context.state.RunActive) return Answered(Error(errors::kArrayLocked));
  const ActiveRun active(context.state);
  return Answered(
      RunExport(context, Destination, Exportname, ExportType, ExportMode, LogName, LogPath));
}

std::optional<Error> Orvane2::RunExport(CallContext& context, const std::u16string& Destination,
                                        const std::u16string& Exportname, int16_t ExportType,
                                        std::optional<int16_t> ExportMode,
                                        const std::u16string& LogName,
                                        const std::u16string& LogPath) {
  SharedState& state = context.state;
  // The log block is this run's own: until the header is formed there is none,
  // and it is written at most once.
  bool log_pending = false;
  WorkingFolder working;
  // Events of a run that fails early must not carry the previous run's progress.
  ResetRunState(state, ExportMode);

  const std::optional<Error> failure = Attempt([&] {
    state.FileSys = context.platform.file_systems->CreateFileSystem();
    const std::u16string component_folder = context.platform.component_location->ComponentFolder();
    PrepareFolder(context, state.ExportDestination,
                  Destination.empty() ? component_folder : Destination);
    working = CreateWorkingFolder(
        *state.FileSys, context.platform.component_location->InSystemProgramFolder()
                            ? std::u16string()
                            : context.BaseFolder() + u"tmp" + context.Separator());
    state.TempFolder = working.path;
    state.LogEnabled = !LogName.empty();
    if (state.LogEnabled) {
      state.LogFileName = LogName;
      PrepareFolder(context, state.LogFilePath, LogPath.empty() ? component_folder : LogPath);
    }
    state.LogText = RunLogHeader(context);
    log_pending = state.LogEnabled;

    if (ExportSource* source = module_.SourceFor(ExportType)) {
      source->OpenSession(context);
      state.ExportFileName = Exportname.empty() ? TypeNameText(ExportType) : Exportname;
      source->ExportAll(context);
      DeliverCombinedFile(context, ExportType);
    }
    if (log_pending) {
      log_pending = false;
      WriteRunLog(context);
    }
  });

  if (!failure) {
    context.RaiseExportEvent(0);
    context.RaiseExportEvent(1);
    DeleteWorkingFolder(*state.FileSys, working);
    return std::nullopt;
  }

  context.RaiseExportEvent(0);
  context.RaiseExportEvent(1, failure->description());
  // ExportDone has already told the host how the run ended; a log that cannot
  // be written now must not turn that into a different outcome.
  if (log_pending) Attempt([&] { WriteRunLog(context); });
  if (state.FileSys) DeleteWorkingFolder(*state.FileSys, working);
  return failure;
}

}  // namespace orvane
