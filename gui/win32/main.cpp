// The program entry of the Win32 skin: setup.exe.
#include <windows.h>

#include <commctrl.h>

#include "gui/win32/win32skin.h"
#include "platform/this_process.h"
#include "setup/installlog.h"
#include "setup/runlog.h"
#include "setup/silentrun.h"

#include <cstdio>
#include <cstdlib>

#include "platform/text/utf8.h"
#include "platform/win32/win32_platform.h"

namespace {

// Shows nothing: a run without a window and without a console.
class QuietPresenter : public MessagePresenter {
 public:
  int32_t Show(const char*, const char*, int32_t) override { return IDOK; }
};

// Writes UTF-8 text to standard output or standard error: to a console as
// UTF-16, so every character shows whatever the console's code page; to a
// file or pipe as the UTF-8 bytes themselves.
void WriteText(std::FILE* stream, const std::string& text) {
  std::fflush(stream);
  const HANDLE h = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (h != INVALID_HANDLE_VALUE && h && GetConsoleMode(h, &mode)) {
    const std::wstring wide = win32skin::Wide(text);
    DWORD written = 0;
    WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

// The silent install's messages on the console, as "Caption: text" lines.
class ConsolePresenter : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char* Caption, int32_t) override {
    WriteText(stderr, std::string(Caption) + ": " + Text + "\n");
    return IDOK;
  }
};

// The command line before any window. Text goes to the console the program
// was started from; without one, the usage and errors come as message boxes
// and the silent install's messages are not shown.
bool HandleCommandLine(platform::Platform& platform, const std::vector<std::string>& args, CommandLine* options,
                       int* exitCode) {
  const bool console = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  // With /S nothing may wait for a click, not even a bad command line.
  bool silent = false;
  for (const std::string& arg : args) silent = silent || text::SameName(arg, "/S") || text::SameName(arg, "--silent");
  if (console) {
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
  }
  const auto show = [console, silent](const std::string& text, UINT flags) {
    if (console) {
      WriteText(flags == MB_ICONERROR ? stderr : stdout, text);
    } else if (!silent) {
      MessageBoxW(nullptr, win32skin::Wide(text).c_str(), L"Setup", flags);
    }
  };
  ConsolePresenter toConsole;
  QuietPresenter quiet;
  MessagePresenter* previous = SetMessagePresenter(console ? static_cast<MessagePresenter*>(&toConsole) : &quiet);
  const bool ended = RunCommandLine(
      platform, args, [&](const std::string& text) { show(text, MB_ICONINFORMATION); },
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
    // The arguments as the system splits its wide command line, in UTF-8.
    if (HandleCommandLine(*platform, platform::win32::CommandLineArguments(), &options, &exitCode)) return exitCode;
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
