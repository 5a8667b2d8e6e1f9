#pragma once

// The Windows headers, less the macros that would rename the component's own
// members (FileSystem::DeleteFile, FileSystem::CopyFile, class MessageBox).
// Every Windows source includes this instead of <windows.h>.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#undef CopyFile
#undef DeleteFile
#undef MessageBox
