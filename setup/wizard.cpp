#include "setup/wizard.h"

#include <string>

#include "setup/installlog.h"
#include "setup/runlog.h"
#include "stools/stools.h"

Wizard::Wizard(platform::Platform& platform, WizardSkin& skin)
    : m_platform(platform),
      m_skin(skin),
      m_loop(skin.Loop(), [this] { return m_form.CloseRequested(); }),
      m_sideBar(&skin.SideBarHost()),
      m_form(platform, m_loop, skin.MainView(), m_sideBar) {
  // The window's side-bar lets any enabled step be chosen, backwards too.
  m_sideBar.SetSelectLinear(false);
  m_skin.ShowSideBar(&m_sideBar);
}

Wizard::~Wizard() {
  m_skin.Attach(nullptr);
  m_skin.ShowSideBar(nullptr);
  if (m_chooser) m_chooser->SetView(nullptr);
}

bool Wizard::Start(const CommandLine& options, InstallLog* log) {
  const bool started = m_form.FormCreate();
  if (log) LogStart(m_platform, options, m_form.Data().SourceDir, log);
  if (!started) {
    if (log) log->Info("end", {std::to_string(kExitSetupInf)});
    return false;
  }
  m_form.SetLog(log);
  m_form.ApplyChoices(ChoicesOf(options));
  // The chooser is made after start-up, which made C:\ the current
  // directory: its list starts there.
  m_chooser = std::make_unique<TVerzeichnisDlg>(
      m_platform, [this](const std::string& error) { ShowMsgBox(m_form.ApplicationTitle(), error, MB_ICONERROR); });
  m_chooser->SetView(&m_skin.ChooserView());
  m_form.SetDialog(m_chooser.get());
  m_skin.Attach(this);
  return true;
}

int Wizard::Finish(int loopResult, InstallLog* log) {
  m_form.FormDestroy();
  const int code = loopResult != 0 ? loopResult : m_form.ExitCode();
  if (log) log->Info("end", {std::to_string(code)});
  return code;
}
