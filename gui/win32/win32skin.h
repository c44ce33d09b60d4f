#pragma once

#include "gui/win32/chooserwindow.h"
#include "gui/win32/mainwindow.h"
#include "gui/win32/win32support.h"
#include "setup/wizard.h"

// The Win32 skin as the wizard sees it: the main window, the chooser it
// owns, and the message loop that feeds both their dialog keys.
class Win32Skin final : public WizardSkin {
 public:
  explicit Win32Skin(platform::Platform& platform) : m_chooser(platform, m_window.Handle()) {
    m_chooser.SetModalLoop([this](const std::function<bool()>& done) { m_loop.RunUntil(done); });
    m_loop.SetPreTranslate([this](MSG& msg) { return m_chooser.PreTranslate(msg) || m_window.PreTranslate(msg); });
  }

  EventLoop& Loop() override { return m_loop; }
  MainFormView& MainView() override { return m_window; }
  VerzeichnisDlgView& ChooserView() override { return m_chooser; }
  NavigateHost& SideBarHost() override { return m_window.SideBar().Host(); }
  void ShowSideBar(TKelvaNavigate* model) override { m_window.SideBar().SetModel(model); }
  void Attach(Wizard* wizard) override {
    m_window.Attach(wizard ? &wizard->Form() : nullptr);
    m_chooser.Attach(wizard ? &wizard->Chooser() : nullptr);
  }

  MainWindow& Window() { return m_window; }
  ChooserWindow& Chooser() { return m_chooser; }
  // The program's loop: returns the exit code of WM_QUIT.
  int Run() { return m_loop.Run(); }

 private:
  win32skin::Win32EventLoop m_loop;
  MainWindow m_window;
  ChooserWindow m_chooser;
};
