#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/verzdlg.h"
#include "install/installengine.h"
#include "install/kcsysinfo.h"
#include "install/manifest.h"
#include "setup/choices.h"
#include "setup/commandline.h"
#include "setup/formcontrols.h"
#include "setup/mainformview.h"
#include "setup/meter.h"
#include "setupdata/catalogue.h"
#include "setupdata/setupfile.h"

class EventLoop;
class TKelvaNavigate;
class InstallLog;

// The legal notice of Label_103.
extern const char kLegalNotice[];

// Virtual key codes the key handler looks at (<windows.h> has them as macros).
#ifndef VK_RETURN
constexpr int VK_RETURN = 13;
constexpr int VK_UP = 38;
constexpr int VK_DOWN = 40;
#endif

// The smallest outer size of the main window.
constexpr int kMinTrackWidth = 600;
constexpr int kMinTrackHeight = 480;

// The main window's controller: start-up, the page flow driven by the
// side-bar, the licence and selection pages, the keys, the destination and
// copy pages. It reaches its widgets only through MainFormView.
class TMainForm : private CopyProgressView {
 public:
  // sideBar is the window's KelvaNavigate1; its steps drive the pages.
  TMainForm(platform::Platform& platform, EventLoop& loop, MainFormView& view, TKelvaNavigate& sideBar);
  // The chooser is created after the main window, at C:\ (program entry).
  void SetDialog(TVerzeichnisDlg* dialog) { m_dialog = dialog; }
  ~TMainForm() override;

  // Start-up; false when the program must end at once (exit code 2).
  bool FormCreate();
  // Preselects what the command line asks for and, where it is silent, what
  // the last install of this product chose: the language, the components,
  // and the targets page 3 offers first.
  void ApplyChoices(const Choices& commandLine);
  // Logs the copy run there (/LOG); nullptr logs nothing.
  void SetLog(InstallLog* log) { m_log = log; }
  void FormDestroy();
  // Always allows the close; releases the plan lists unless a copy is running,
  // which instead stops after its current entry.
  bool FormCloseQuery();

  void BindLanguageTexts();
  void ComboBoxSpracheChange();
  void KelvaNavigate1Select(void* Sender, int NewTab, bool& AllowChange);
  void accept_ButtonClick();
  void CheckBoxClick();
  // The user changed a check box or chose an item of a list; the form's
  // handler of that control runs.
  void UserChecked(Control box, bool checked);
  void UserSelected(Control list, int index);
  // Key is set to 0 when consumed. Return, Up and Down step the pages
  // unless the focused control uses them: a list and the licence text keep
  // Up and Down, a button keeps Return (it presses it). Unknown focus
  // (kCount): the keys always step.
  void FormKeyDown(int& Key, Control focused = Control::kCount);
  void Btn_CancelClick();
  void FormResize();
  // Where a hint appears for the pointer at (x, y).
  static graphics::Point AppShowHint(int cursorX, int cursorY) { return {cursorX + 10, cursorY + 18}; }

  // Destination and copy pages.
  bool ValidateTargets();
  void SirelZiel_ButtonClick();
  void BtnZielverzeichnisClick();
  void DestinationPageAction();
  // False when the copy could not start for want of space and the wizard
  // stays on the target page.
  bool CopyPageAction();

  bool EulaAccepted() const { return m_eulaAccepted; }
  // The program's exit code: that of the copy run once it has run; until
  // then the window closed without an install (abandoned).
  int ExitCode() const { return m_exitCode; }
  bool InstallAborted() const { return m_engine && m_engine->InstallAborted; }
  bool CloseRequested() const { return m_closeRequested; }
  bool Copying() const { return m_copying; }
  const StoredTexts& Texts() const { return m_stored; }
  const SetupData& Data() const { return m_data; }
  TKCProgress& Meter() { return m_meter; }
  InstallEngine* Engine() { return m_engine.get(); }
  std::string MessageCaption() const;
  // The title of the program's message boxes in the current language.
  const std::string& ApplicationTitle() const { return m_applicationTitle; }
  // The controls as the form set them and the user changed them.
  const FormControls& Controls() const { return m_controls; }
  const TextCatalogue& Catalogue() const { return m_texts; }

 private:
  void SetMeterMaxValue(int MaxValue) override;
  void StepMeterValue() override;
  void SetLabelFile(const std::string& Caption) override;
  void SetBusyCursor(bool Busy) override;
  void LicencePageAction();
  // Undoes the runs that a crash or a kill left unfinished, with a message.
  void RecoverInterruptedRuns();
  // Opens the chooser for one target field; a chosen directory fills it.
  void Browse(const std::string& title, Control edit, Control button);
  CopyRequest Request() const;

  platform::Platform& m_platform;
  EventLoop& m_loop;
  MainFormView& m_view;
  TKelvaNavigate& m_nav;
  FormControls m_controls;
  std::string m_applicationTitle;
  TVerzeichnisDlg* m_dialog = nullptr;
  SetupData m_data;
  std::optional<MediumManifest> m_manifest;  // SETUP.SUM, when the medium has one
  TextCatalogue m_texts{m_data.SetupIni};
  StoredTexts m_stored;
  TKCSysInfo m_sysInfo;
  std::unique_ptr<InstallEngine> m_engine;
  TKCProgress m_meter;
  bool m_eulaAccepted = false;
  bool m_copying = false;
  bool m_closeRequested = false;
  int m_exitCode = kExitAbandoned;
  InstallLog* m_log = nullptr;
  Choices m_commandChoices;     // from the command line: taken as given
  Choices m_rememberedChoices;  // from the last install: taken where still there
};
