// The program entry of the Win32 skin: setup.exe.
#include <windows.h>

#include <commctrl.h>

#include "gui/win32/win32skin.h"
#include "platform/this_process.h"
#include "setup/installlog.h"
#include "setup/runlog.h"
#include "setup/silentrun.h"
#include "stools/streampresenter.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Shows nothing: a run without a window and without a console.
class QuietPresenter : public MessagePresenter {
 public:
  int32_t Show(const char*, const char*, int32_t) override { return IDOK; }
};

// The command line before any window. Text goes to the console the program
// was started from; without one, the usage and errors come as message boxes
// and the silent install's messages are not shown.
bool HandleCommandLine(platform::Platform& platform, CommandLine* options, int* exitCode) {
  const bool console = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  // With /S nothing may wait for a click, not even a bad command line.
  bool silent = false;
  for (int i = 1; i < __argc; ++i) {
    silent = silent || lstrcmpiA(__argv[i], "/S") == 0 || lstrcmpiA(__argv[i], "--silent") == 0;
  }
  if (console) {
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
  }
  const auto show = [console, silent](const std::string& text, UINT flags) {
    if (console) {
      std::fputs(text.c_str(), flags == MB_ICONERROR ? stderr : stdout);
      std::fflush(flags == MB_ICONERROR ? stderr : stdout);
    } else if (!silent) {
      MessageBoxA(nullptr, text.c_str(), "Setup", flags);
    }
  };
  StreamPresenter toConsole(stderr);
  QuietPresenter quiet;
  MessagePresenter* previous = SetMessagePresenter(console ? static_cast<MessagePresenter*>(&toConsole) : &quiet);
  const bool ended = RunCommandLine(
      platform, std::vector<std::string>(__argv + 1, __argv + __argc),
      [&](const std::string& text) { show(text, MB_ICONINFORMATION); },
      [&](const std::string& text) { show(text + "\n", MB_ICONERROR); }, options, exitCode);
  SetMessagePresenter(previous);
  return ended;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  CommandLine options;
  {
    const auto platform = platform::MakeProcessPlatform();
    int exitCode = 0;
    if (HandleCommandLine(*platform, &options, &exitCode)) return exitCode;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  win32skin::MessageBoxPresenter presenter;
  SetMessagePresenter(&presenter);

  const auto platform = platform::MakeProcessPlatform();
  InstallLog log(*platform);
  if (!OpenRunLog(*platform, options, &log)) {
    SetMessagePresenter(nullptr);
    return kExitCommandLine;
  }
  int code = kExitSetupInf;
  {
    Win32Skin skin(*platform);
    presenter.SetOwner(skin.Window().Handle());
    Wizard wizard(*platform, skin);
    if (wizard.Start(options, &log)) {
      ShowWindow(skin.Window().Handle(), show);
      UpdateWindow(skin.Window().Handle());
      code = wizard.Finish(skin.Run(), &log);
    }
  }
  SetMessagePresenter(nullptr);
  return code;
}
