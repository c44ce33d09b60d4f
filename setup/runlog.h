#pragma once

#include <string>

#include "setup/commandline.h"

class InstallEngine;
class InstallLog;
namespace platform {
class Platform;
}

// The log of a run, with the window and without it: opened for /LOG (never
// on the medium; false after a one-line message when it cannot be written),
// the start, and the events of the engine's copy run.
bool OpenRunLog(platform::Platform& platform, const CommandLine& options, InstallLog* log);
void LogStart(platform::Platform& platform, const CommandLine& options, const std::string& sourceDir, InstallLog* log);
// Hooks the plan, space, copied and failed events of a run to the log.
void LogEngine(InstallLog* log, platform::Platform& platform, InstallEngine& engine);
// The space of a refused run, the backup folders, the rollback steps.
void LogOutcome(InstallLog* log, const InstallEngine& engine);
