#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform::win32 {

// The platform on Windows: every operation is the Win32 API call of the same
// meaning, on ANSI strings of the system code page.
std::unique_ptr<Platform> MakeWin32Platform();

}  // namespace platform::win32
