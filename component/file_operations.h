#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "vcard/trailing_semicolons.h"  // StripTrailingSemicolons, one of the file routines

namespace orvane {

// Removes the run's working folder; never fails.
void DeleteTempFolder(FileSystem& fs, const std::u16string& TempFolder);

// A run's own working folder, and the shared folder it sits in when the run made that.
struct WorkingFolder {
  std::u16string path;         // ends in the separator; empty when none was made
  std::u16string made_parent;  // empty when the shared folder was there before
};

// A new private folder inside `shared_parent`, which is made when missing;
// where that cannot be done, a new private folder in the platform's temporary
// folder, which is also where an empty `shared_parent` sends it. Fails with the
// error met beside the component when both fail.
WorkingFolder CreateWorkingFolder(FileSystem& fs, const std::u16string& shared_parent);
// Removes the run's folder with what is in it, and the shared folder when the
// run made it and nothing else is in it; never fails.
void DeleteWorkingFolder(FileSystem& fs, const WorkingFolder& folder);

void DeleteFileIfExists(FileSystem& fs, const std::u16string& path);

// Appends `text` in the ANSI code page and one CR LF at the end of the file,
// creating the file when missing.
void AppendTextToFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                      const std::u16string& text);
// DeleteFileIfExists, then AppendTextToFile: the file holds `text` and CR LF alone.
void WriteTextFile(FileSystem& fs, CodePage& code_page, const std::u16string& path,
                   const std::u16string& text);

// The characters before the first NUL; the whole text when there is none.
std::u16string CutAtNul(std::u16string text);

}  // namespace orvane
