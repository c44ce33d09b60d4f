#pragma once

#include <memory>

#include "dialogs/verzdlg.h"
#include "navigate/navigate.h"
#include "setup/mainform.h"
#include "setup/wizardloop.h"

class InstallLog;
class Wizard;

// What a skin gives the wizard: its windows as views of the two controllers,
// and its message loop.
class WizardSkin {
 public:
  virtual ~WizardSkin() = default;
  virtual EventLoop& Loop() = 0;
  virtual MainFormView& MainView() = 0;
  virtual VerzeichnisDlgView& ChooserView() = 0;
  // The widget that shows the side-bar, and the model it shows from now on
  // (nullptr: the model is going).
  virtual NavigateHost& SideBarHost() = 0;
  virtual void ShowSideBar(TKelvaNavigate* model) = 0;
  // The controllers exist: from now on the skin sends its widgets' events to
  // wizard->Form() and wizard->Chooser(). nullptr: they are going, the skin
  // sends nothing more.
  virtual void Attach(Wizard* wizard) = 0;
};

// The whole wizard without a toolkit: the main window's controller with its
// meter, the side-bar, the directory chooser, the close request and the
// message throttle.
// Every program entry and every test builds it the same way:
//
//   Wizard wizard(platform, skin);
//   if (!wizard.Start(options, &log)) return kExitSetupInf;
//   ... show the window and run the skin's loop ...
//   return wizard.Finish(loopResult, &log);
class Wizard {
 public:
  Wizard(platform::Platform& platform, WizardSkin& skin);
  ~Wizard();
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  // Start-up (SETUP.INF, the first page, the chooser, the choices of the
  // command line and of the last install), logged when log is given. False
  // when the program must end at once (SETUP.INF unusable, exit code 2).
  bool Start(const CommandLine& options, InstallLog* log);
  // After the skin's loop ended with loopResult: the program's exit code,
  // logged.
  int Finish(int loopResult, InstallLog* log);

  TMainForm& Form() { return m_form; }
  // Exists once Start has run.
  TVerzeichnisDlg& Chooser() { return *m_chooser; }
  bool Started() const { return m_chooser != nullptr; }
  TKCProgress& Meter() { return m_form.Meter(); }
  TKelvaNavigate& SideBar() { return m_sideBar; }
  // The loop the copy runs with: the skin's, throttled, ending on a close
  // request.
  EventLoop& Loop() { return m_loop; }

 private:
  platform::Platform& m_platform;
  WizardSkin& m_skin;
  WizardLoop m_loop;
  TKelvaNavigate m_sideBar;
  TMainForm m_form;
  std::unique_ptr<TVerzeichnisDlg> m_chooser;
};
