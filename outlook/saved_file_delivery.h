#pragma once

#include <cstdint>
#include <string>

#include "component/call_context.h"

namespace orvane {

// What both Outlook runs do with the files the mail client saves in the
// working folder: name them, gather them into the combined file when the run
// combines, copy them into the destination and remove them.
class SavedFileDelivery {
 public:
  SavedFileDelivery(CallContext& context, int16_t ExportType);

  // Removes a combined file that an earlier run left in the working folder, so
  // the run's combined file holds this run's items only.
  void Begin();
  // TempFolder + ExportFileName + `number` + the type's extension.
  std::u16string WorkingFile(int16_t number) const;
  // After the mail client saved `file`: adds its bytes to the combined file,
  // copies it into the destination (a failing copy stops the run after this
  // item) and removes it from the working folder.
  void Deliver(const std::u16string& file);

 private:
  bool Combines() const;

  CallContext& context_;
  const std::u16string extension_;
  const std::u16string combined_file_;
};

}  // namespace orvane
