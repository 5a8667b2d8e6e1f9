#include "component/item_file_name.h"

#include "component/ascii_text.h"
#include "component/export_type.h"

namespace orvane {
namespace {

// The type's default stem and the item's number; nothing for an unknown type.
std::u16string DefaultItemName(int16_t ItemIdx, int16_t ExportType) {
  const std::u16string stem = TypeNameText(ExportType);
  return stem.empty() ? stem : stem + DecimalText(ItemIdx);
}

}  // namespace

std::u16string BuildItemFileName(CallContext& context, int16_t ItemIdx, int16_t ExportType,
                                 std::u16string& filename) {
  const char16_t separator = context.Separator();
  const std::u16string base = context.BaseFolder();
  FileSystem& fs = *context.state.FileSys;

  if (filename.empty()) {
    if (!TypeNameText(ExportType).empty()) filename = base + DefaultItemName(ItemIdx, ExportType);
    return filename;
  }
  if (fs.GetParentFolderName(filename).empty() && !fs.FolderExists(filename)) {
    filename = base + filename;
  } else if (filename.back() == separator || fs.FolderExists(filename)) {
    if (filename.back() != separator) filename += separator;
    filename += DefaultItemName(ItemIdx, ExportType);
  }
  return filename;
}

}  // namespace orvane
