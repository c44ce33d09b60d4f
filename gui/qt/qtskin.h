#pragma once

#include "gui/qt/mainwindow.h"
#include "gui/qt/navigatewidget.h"
#include "gui/qt/qtsupport.h"
#include "gui/qt/verzdialog.h"
#include "setup/wizard.h"

// The Qt skin as the wizard sees it: the main window, the chooser over it,
// and Qt's message loop.
class QtSkin : public WizardSkin {
 public:
  explicit QtSkin(platform::Platform& platform) : m_dialog(platform, &m_window) {}

  EventLoop& Loop() override { return m_loop; }
  MainFormView& MainView() override { return m_window; }
  VerzeichnisDlgView& ChooserView() override { return m_dialog; }
  NavigateHost& SideBarHost() override { return m_window.SideBar().Host(); }
  void ShowSideBar(TKelvaNavigate* model) override { m_window.SideBar().SetModel(model); }
  void Attach(Wizard* wizard) override {
    m_window.Attach(wizard ? &wizard->Form() : nullptr);
    m_dialog.Attach(wizard ? &wizard->Chooser() : nullptr);
  }

  MainWindow& Window() { return m_window; }
  VerzDialog& Dialog() { return m_dialog; }

 private:
  QtEventLoop m_loop;
  MainWindow m_window;
  VerzDialog m_dialog;
};
