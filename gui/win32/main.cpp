// The program entry of the Win32 skin: setup.exe.
#include <windows.h>

#include <commctrl.h>

#include "gui/win32/chooserwindow.h"
#include "gui/win32/mainwindow.h"
#include "gui/win32/win32support.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  win32skin::MessageBoxPresenter presenter;
  SetMessagePresenter(&presenter);

  const auto platform = platform::win32::MakeWin32Platform();
  win32skin::Win32EventLoop loop;
  MainWindow window(*platform, loop);
  presenter.SetOwner(window.Handle());
  if (!window.Form().FormCreate()) {
    SetMessagePresenter(nullptr);
    return 0;
  }
  // The chooser is created after the main window; its list starts at C:\.
  TVerzeichnisDlg chooser(*platform, [&window](const std::string& error) {
    ShowMsgBox(window.ApplicationTitle(), error, MB_ICONERROR);
  });
  ChooserWindow dialog(chooser, *platform, window.Handle());
  dialog.SetModalLoop([&loop](const std::function<bool()>& done) { loop.RunUntil(done); });
  loop.SetPreTranslate([&](MSG& msg) { return dialog.PreTranslate(msg) || window.PreTranslate(msg); });
  window.Form().SetDialog(&chooser);
  ShowWindow(window.Handle(), show);
  UpdateWindow(window.Handle());
  const int result = loop.Run();
  window.Form().FormDestroy();
  SetMessagePresenter(nullptr);
  return result;
}
