#include "outlook/saved_file_delivery.h"

#include "component/ascii_text.h"
#include "component/copy_step.h"
#include "component/export_type.h"
#include "component/file_operations.h"

namespace orvane {

SavedFileDelivery::SavedFileDelivery(CallContext& context, int16_t ExportType)
    : context_(context),
      extension_(ExtensionOf(ExportType)),
      combined_file_(context.state.TempFolder + context.state.ExportFileName + extension_) {}

bool SavedFileDelivery::Combines() const {
  return context_.state.CombineMode == kCombineIntoOneFile;
}

void SavedFileDelivery::Begin() {
  if (Combines()) DeleteFileIfExists(*context_.state.FileSys, combined_file_);
}

std::u16string SavedFileDelivery::WorkingFile(int16_t number) const {
  const SharedState& state = context_.state;
  return state.TempFolder + state.ExportFileName + DecimalText(number) + extension_;
}

void SavedFileDelivery::Deliver(const std::u16string& file) {
  FileSystem& fs = *context_.state.FileSys;
  // Read back as saved: the mail client decides the bytes of each item.
  if (Combines()) fs.AppendToFile(combined_file_, fs.ReadFileBytes(file));
  CopyIntoDestination(context_, file);
  DeleteFileIfExists(fs, file);
}

}  // namespace orvane
