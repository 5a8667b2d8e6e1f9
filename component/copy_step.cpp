#include "component/copy_step.h"

#include "component/call_result.h"

namespace orvane {
namespace {

void ReportCopyFailure(CallContext& context, const Error& error) {
  context.platform.message_box->Show(error.description(), MessageBoxKind::kCritical);
  context.state.BreakRequested = true;
}

}  // namespace

void CopyIntoDestination(CallContext& context, const std::u16string& file) {
  FileSystem& fs = *context.state.FileSys;
  bool exists = true;
  if (const auto failure = Attempt([&] { exists = fs.FileExists(file); })) {
    ReportCopyFailure(context, *failure);
  }
  // The file was written a moment ago: if it is not there, the item would be
  // counted as exported without reaching the destination.
  if (!exists) return ReportCopyFailure(context, Error(errors::kFileNotFound));
  if (const auto failure = Attempt([&] { fs.CopyFile(file, context.state.ExportDestination); })) {
    ReportCopyFailure(context, *failure);
  }
}

}  // namespace orvane
