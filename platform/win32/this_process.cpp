#include "platform/this_process.h"

#include "platform/win32/win32_platform.h"

namespace platform {

std::unique_ptr<Platform> MakeProcessPlatform() { return win32::MakeWin32Platform(); }

}  // namespace platform
