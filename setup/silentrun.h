#pragma once

#include "setup/commandline.h"

class EventLoop;
namespace platform {
class Platform;
}

// The install without a window (/S): SETUP.INF, the language, the licence,
// the components and targets of the command line (or what the wizard would
// preselect), then the same plan, checks and transaction as the copy page.
// Messages go through ShowMsgBox, whose presenter the program chooses (the
// standard error stream on Linux). Returns the exit code.
int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options);

// The exit code of a finished copy run.
enum class InstallOutcome;
int ExitCodeOf(InstallOutcome outcome);
