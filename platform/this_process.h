#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

// The platform of the running program, from the backend this build uses: on
// Linux the drive table of this machine and the program's own path, on
// Windows the system's API.
std::unique_ptr<Platform> MakeProcessPlatform();

}  // namespace platform
