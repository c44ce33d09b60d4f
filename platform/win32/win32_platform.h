#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::win32 {

// The platform on Windows: every operation is the wide-character Win32 call
// of the same meaning. Paths and texts are UTF-8 on this side and UTF-16 at
// the call; a path too long for the plain form takes the long-path form.
std::unique_ptr<Platform> MakeWin32Platform();

// The program's arguments, without the program's own name, in UTF-8, split
// as the system splits its command line.
std::vector<std::string> CommandLineArguments();

}  // namespace platform::win32
