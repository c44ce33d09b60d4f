// The destination page (3) and the copy page (4) of the main window.
#include <algorithm>

#include "install/eventloop.h"
#include "navigate/navigate.h"
#include "setup/mainform.h"
#include "setup/installlog.h"
#include "setup/recovery.h"
#include "setup/runlog.h"
#include "platform/text/utf8.h"
#include "setup/silentrun.h"
#include "setupdata/format.h"
#include "stools/stools.h"

bool TMainForm::ValidateTargets() {
  // A Sirel target is needed for the sample project as well: an empty base
  // would send its files to the root of the current drive.
  bool a = true;
  const bool sirelBase = m_controls.Checked(Control::Sirel_CheckBox) || m_controls.Checked(Control::Beispiel_CheckBox);
  if (sirelBase && m_controls.Visible(Control::zielSirel_Edit)) {
    a = !m_controls.Text(Control::zielSirel_Edit).empty();
  }
  bool b = true;
  if (m_controls.Checked(Control::DXF_CheckBox)) b = !m_controls.Text(Control::zielDXF_Edit).empty();
  return a && b;
}

void TMainForm::DestinationPageAction() {
  TKelvaNavigate& nav = m_nav;
  nav.SetItemEnabled(4, false);
  std::vector<std::string> offers = ScanTargetDrives(m_platform, m_sysInfo, m_data.Boot.DefaultTargetSubdir);
  // The target of the command line first, else the remembered one while it is there.
  std::string preferred = m_commandChoices.sirel;
  if (preferred.empty() && m_platform.IsDirectory(m_rememberedChoices.sirel)) preferred = m_rememberedChoices.sirel;
  if (!preferred.empty()) {
    offers.erase(std::remove_if(offers.begin(), offers.end(),
                                [&](const std::string& o) { return text::SameName(o, preferred); }),
                 offers.end());
    offers.insert(offers.begin(), preferred);
  }
  m_controls.SetItems(Control::drive_Combo, offers);
  const bool dxf = m_controls.Checked(Control::DXF_CheckBox);
  for (Control c : {Control::zielDXF_Edit, Control::DXFZiel_Label, Control::DXFZiel_Button}) {
    m_controls.SetVisible(c, dxf);
  }
  std::string dxfTarget = m_commandChoices.dxfTarget;
  if (dxfTarget.empty() && m_platform.IsDirectory(m_rememberedChoices.dxfTarget)) {
    dxfTarget = m_rememberedChoices.dxfTarget;
  }
  if (dxf && m_controls.Text(Control::zielDXF_Edit).empty() && !dxfTarget.empty()) {
    m_controls.SetText(Control::zielDXF_Edit, dxfTarget);
  }
  if (m_controls.Checked(Control::Sirel_CheckBox) || m_controls.Checked(Control::Beispiel_CheckBox)) {
    if (!offers.empty()) {
      m_controls.SetItemIndex(Control::drive_Combo, 0);
      m_controls.SetVisible(Control::zielSirel_Edit, false);
      m_controls.SetVisible(Control::SirelZiel_Button, false);
      m_controls.SetVisible(Control::drive_Combo, true);
      m_controls.SetVisible(Control::SirelZiel_Label, true);
    } else {
      m_controls.SetVisible(Control::zielSirel_Edit, true);
      m_controls.SetVisible(Control::SirelZiel_Button, true);
      m_controls.SetVisible(Control::drive_Combo, false);
      ShowMsgBox(MessageCaption(), m_stored.NoDriveMessage, MB_ICONINFORMATION);
    }
  } else {
    for (Control c :
         {Control::zielSirel_Edit, Control::SirelZiel_Button, Control::SirelZiel_Label, Control::drive_Combo}) {
      m_controls.SetVisible(c, false);
    }
  }
  m_view.SetFocus(Control::KelvaNavigate1);
  nav.SetItemEnabled(4, ValidateTargets());
}

namespace {

// The parent of a target, with its trailing backslash: where browsing starts.
std::string BrowseStart(const std::string& target) {
  const std::string dir = RemoveBackslash(target);
  const size_t cut = dir.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : dir.substr(0, cut + 1);
}

}  // namespace

void TMainForm::Browse(const std::string& title, Control edit, Control button) {
  m_dialog->SetCaption(title);
  m_dialog->SetButtonCaption(DlgControl::BtnAbort, m_stored.CancelCaption);
  m_dialog->SetButtonCaption(DlgControl::BtnDefault, m_stored.DefaultButtonCaption);
  // Both browses start from the parent of the DXF target.
  m_dialog->StartDir = BrowseStart(m_controls.Text(Control::zielDXF_Edit));
  m_controls.SetVisible(button, false);
  if (m_dialog->ShowModal() == 1) {
    m_controls.SetText(edit, RemoveBackslash(m_dialog->SelectedDir));
    m_nav.SetItemEnabled(4, ValidateTargets());
  }
  m_controls.SetVisible(button, true);
}

void TMainForm::SirelZiel_ButtonClick() {
  if (!m_dialog) return;
  m_dialog->PresetDir = RemoveBackslash(m_data.Boot.DefaultBrowsePath);
  // The default button takes the product's default folder with one press,
  // also when it does not exist yet (the install makes it): the chooser
  // itself can only pick folders that exist.
  m_dialog->DefaultVisible = !m_dialog->PresetDir.empty();
  Browse(m_stored.SirelBrowseTitle, Control::zielSirel_Edit, Control::SirelZiel_Button);
}

void TMainForm::BtnZielverzeichnisClick() {
  if (!m_dialog) return;
  // The default folder is the macro library's, not one for the drawings.
  m_dialog->DefaultVisible = false;
  Browse(m_stored.DxfBrowseTitle, Control::zielDXF_Edit, Control::DXFZiel_Button);
}

CopyRequest TMainForm::Request() const {
  CopyRequest r;
  r.Sirel = m_controls.Checked(Control::Sirel_CheckBox);
  r.Beispiel = m_controls.Checked(Control::Beispiel_CheckBox);
  r.DXF = m_controls.Checked(Control::DXF_CheckBox);
  if (m_controls.Visible(Control::drive_Combo)) {
    r.SirelTargetBase = m_controls.SelectedItem(Control::drive_Combo);
  } else {
    r.SirelTargetBase = m_controls.Text(Control::zielSirel_Edit);
  }
  r.DxfTargetBase = m_controls.Text(Control::zielDXF_Edit);
  return r;
}

bool TMainForm::CopyPageAction() {
  TKelvaNavigate& nav = m_nav;
  const int previous = nav.ItemIndex();
  for (int i = 0; i < static_cast<int>(nav.Lines().size()); ++i) nav.SetItemEnabled(i, false);
  // The copy runs before the side-bar would make its step current: mark it
  // now, so what the user sees (and a screen reader says) is this step.
  const std::vector<intptr_t>& pages = nav.LineObjects();
  nav.ShowAsCurrent(static_cast<int>(std::find(pages.begin(), pages.end(), 4) - pages.begin()));
  m_view.RepaintNavigateNow();
  m_copying = true;
  const CopyRequest request = Request();
  if (m_log) {
    m_log->Info("language", {m_texts.CurrentLanguage()});
    m_log->Info("components", {std::string(request.Sirel ? "macros " : "") + (request.Beispiel ? "sample " : "") +
                               (request.DXF ? "dxf" : "")});
    m_log->Info("targets", {request.SirelTargetBase, request.DxfTargetBase});
    LogEngine(m_log, m_platform, *m_engine);
  }
  m_engine->BuildCopyPlan(request);
  if (m_log) LogOutcome(m_log, *m_engine);
  m_copying = false;
  m_exitCode = ExitCodeOf(m_engine->Outcome);
  if (m_engine->Outcome == InstallOutcome::kInstalled) {
    // The next run of this product preselects these choices; an install
    // stands also when they cannot be kept.
    RememberedChoices(m_platform, ProductKey(m_data)).Save(ChoicesOfRequest(m_texts.CurrentLanguage(), request));
  }
  if (m_engine->Outcome == InstallOutcome::kNoSpace && !m_closeRequested) {
    // Nothing was written: the wizard stays on the target page, where the
    // user may choose another target.
    for (int i = 0; i <= 3; ++i) nav.SetItemEnabled(i, true);
    nav.SetItemEnabled(4, ValidateTargets());
    nav.ShowAsCurrent(previous);
    m_controls.ShowPage(3);
    return false;
  }
  const std::string text =
      m_engine->InstallAborted ? AbortMessage(m_stored) : DoneText(m_stored, m_texts, m_engine->KeptBackups);
  ShowMsgBox(MessageCaption(), text, MB_ICONINFORMATION);
  m_view.Close();
  return true;
}
