#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/eventloop.h"
#include "setup/commandline.h"

namespace platform {
class Platform;
}

// The install without a window (/S): SETUP.INF, the language, the licence,
// the components and targets of the command line (or what the wizard would
// preselect), then the same plan, checks and transaction as the copy page.
// Messages go through ShowMsgBox, whose presenter the program chooses (the
// standard error stream on Linux). Returns the exit code.
int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options);
class InstallLog;
// The same, writing the events of the run to log (opened here for /LOG).
int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options, InstallLog* log);

// The exit code of a finished copy run.
enum class InstallOutcome;
int ExitCodeOf(InstallOutcome outcome);

// A loop without a window for the install without one: nothing is pending;
// an interrupt or termination signal (Ctrl+C, kill) is the close request,
// so the run is rolled back and ends with kExitAbandoned.
class SignalEventLoop : public EventLoop {
 public:
  SignalEventLoop();
  ~SignalEventLoop() override;
  SignalEventLoop(const SignalEventLoop&) = delete;
  SignalEventLoop& operator=(const SignalEventLoop&) = delete;
  void ProcessMessages() override {}
  bool Terminating() override;
  void Synchronize(const std::function<void()>& call) override { call(); }
};

// What a program entry does with its arguments before any window opens.
// Returns true when the program ends here, with *exitCode: the usage
// (shown through usage), a bad command line (one line through error), or
// the install without a window. Returns false when the wizard is to open;
// *options then holds what the command line preselects.
bool RunCommandLine(platform::Platform& platform, const std::vector<std::string>& args,
                    const std::function<void(const std::string&)>& usage,
                    const std::function<void(const std::string&)>& error, CommandLine* options, int* exitCode);
