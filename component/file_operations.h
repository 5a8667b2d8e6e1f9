#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "vcard/trailing_semicolons.h"  // StripTrailingSemicolons, one of the file routines

namespace orvane {

// Removes the run's working folder; never fails.
void DeleteTempFolder(FileSystem& fs, const std::u16string& TempFolder);

void DeleteFileIfExists(FileSystem& fs, const std::u16string& path);

// Appends `text` in the ANSI code page and one CR LF at the end of the file,
// creating the file when missing.
void AppendTextToFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                      const std::u16string& text);

// The characters before the first NUL; the whole text when there is none.
std::u16string CutAtNul(const std::u16string& text);

}  // namespace orvane
