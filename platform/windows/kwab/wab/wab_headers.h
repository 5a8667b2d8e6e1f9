#pragma once

// The WAB and MAPI declarations of MinGW. Its <wab.h> also pulls in the MAPI
// utility header, whose types clash with the WAB's own, so the parts that the
// WAB API needs are included one by one.

#include "platform/windows/windows_headers.h"

// In this order: each needs the ones before it.
// clang-format off
#include <wabdefs.h>
#include <wabcode.h>
#include <wabtags.h>
#include <wabiab.h>
#include <wabapi.h>
// clang-format on
