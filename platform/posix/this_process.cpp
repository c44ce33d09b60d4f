#include "platform/this_process.h"

#include "platform/posix/posix_platform.h"

namespace platform {

std::unique_ptr<Platform> MakeProcessPlatform() { return posix::PosixPlatform::ForThisProcess(); }

}  // namespace platform
