#include "setup/mainform.h"

#include "install/eventloop.h"
#include "navigate/navigate.h"
#include "platform/platform.h"
#include "platform/text/utf8.h"
#include "setup/installlog.h"
#include "setup/layout.h"
#include "setup/loadmedium.h"
#include "setup/recovery.h"
#include "setupdata/format.h"
#include "stools/stools.h"

const char kLegalNotice[] = "Copyright (c) 2026 Kelva Software. All rights reserved.";

TMainForm::TMainForm(platform::Platform& platform, EventLoop& loop, MainFormView& view, TKelvaNavigate& sideBar)
    : m_platform(platform), m_loop(loop), m_view(view), m_nav(sideBar), m_controls(view), m_sysInfo(platform) {
  m_nav.SetOnSelect(
      [this](void* Sender, int NewTab, bool& AllowChange) { KelvaNavigate1Select(Sender, NewTab, AllowChange); });
}

TMainForm::~TMainForm() { m_nav.SetOnSelect(nullptr); }

bool TMainForm::FormCreate() {
  graphics::Rect hidden = m_controls.Bounds(Control::nutzloser_Button);
  hidden.right = hidden.left;
  m_controls.SetBounds(Control::nutzloser_Button, hidden);
  m_view.SetWindowBounds(m_view.ScreenRect());

  const std::string failure = LoadMedium(m_platform, &m_data, &m_manifest);
  if (!failure.empty()) {
    ShowMsgBox("Error", failure, MB_OK);
    return false;
  }
  m_controls.ShowPage(0);
  if (!m_platform.ChangeDirectory("C:\\")) {
    ShowMsgBox("Error", "Drive C:\\ cannot be made the current directory.", MB_OK);
  }
  m_controls.SetItems(Control::ComboBoxSprache, m_data.Languages);
  m_controls.SetItemIndex(Control::ComboBoxSprache, 0);
  m_texts.SetCurrentLanguage(m_data.Languages.front());
  m_controls.SetText(Control::zielDXF_Edit, std::string());
  BindLanguageTexts();
  m_engine = std::make_unique<InstallEngine>(m_platform, m_loop, static_cast<CopyProgressView&>(*this), m_texts,
                                             m_data.SourceDir, [this] { return MessageCaption(); });
  if (m_manifest) m_engine->UseManifest(&*m_manifest);
  RecoverInterruptedRuns();
  // The window opens with the focus on the first page's control.
  m_view.SetFocus(Control::ComboBoxSprache);
  return true;
}

void TMainForm::ApplyChoices(const Choices& commandLine) {
  m_commandChoices = commandLine;
  bool damaged = false;
  m_rememberedChoices = RememberedChoices(m_platform, ProductKey(m_data)).Load(&damaged);
  if (damaged && m_log) m_log->Error("settings", {"the settings file cannot be read; it is ignored"});
  const Choices c = Overlay(m_rememberedChoices, commandLine);
  for (size_t i = 0; i < m_data.Languages.size() && !c.language.empty(); ++i) {
    if (text::SameName(LanguageSectionName(m_data.SetupIni, m_data.Languages[i]), c.language)) {
      m_controls.SetItemIndex(Control::ComboBoxSprache, static_cast<int>(i));
      ComboBoxSpracheChange();
      break;
    }
  }
  if (c.hasComponents) {
    m_controls.SetChecked(Control::Sirel_CheckBox, c.macros);
    m_controls.SetChecked(Control::Beispiel_CheckBox, c.sample);
    m_controls.SetChecked(Control::DXF_CheckBox, c.dxf);
  }
}

void TMainForm::RecoverInterruptedRuns() {
  // A run that was killed is undone before the user can start another.
  UndoInterruptedRuns(m_platform, m_texts, MessageCaption());
}

void TMainForm::FormDestroy() { m_data.SetupIni = TMemIniFile(); }

bool TMainForm::FormCloseQuery() {
  if (m_copying) {
    // The copy stops after its current entry and then closes the window.
    m_closeRequested = true;
    return false;
  }
  if (m_engine) {
    m_engine->SourceFileList.clear();
    m_engine->SourceFileList.shrink_to_fit();
    m_engine->TargetFileList.clear();
    m_engine->TargetFileList.shrink_to_fit();
  }
  return true;
}

std::string TMainForm::MessageCaption() const { return ::MessageCaption(m_stored); }

void TMainForm::BindLanguageTexts() {
  m_eulaAccepted = false;
  m_stored = ReadStoredTexts(m_texts);
  Format(m_texts.LanguageText(79), {m_stored.WindowTitlePrefix + m_stored.ProductName});
  m_controls.SetText(Control::KCLabel_1, TitleBanner(m_stored, m_data.Boot.SetupVersion));
  m_view.SetWindowCaption(WindowCaption(m_stored));
  m_controls.SetText(Control::Btn_Cancel, m_stored.CancelCaption);
  TKelvaNavigate& nav = m_nav;
  nav.SetHintNext(m_stored.NextStepHint);
  nav.SetHintPrevious(m_stored.PreviousStepHint);
  m_controls.SetText(Control::Label_103, kLegalNotice);
  const std::vector<std::string> product = {m_stored.ProductName};
  m_controls.SetText(Control::Label_104, m_texts.LanguageText(4));
  m_controls.SetText(Control::Label_105, Format(m_texts.LanguageText(5), product));
  m_controls.SetText(Control::Label_106, Format(m_texts.LanguageText(6), product));
  m_controls.SetText(Control::Label_115, Format(m_texts.LanguageText(15), product));
  m_controls.SetText(Control::Label_117, m_texts.LanguageText(17));
  m_controls.SetText(Control::Label_118, m_texts.LanguageText(18));
  static const struct {
    Control control;
    int id;
  } kPlain[] = {{Control::Label_130, 30},       {Control::Label_134, 34},      {Control::Label_135, 35},
                {Control::SirelZiel_Label, 20}, {Control::DXFZiel_Label, 21},  {Control::Nutzervertrag_Label, 64},
                {Control::Auswahl_Label, 65},   {Control::Sirel_CheckBox, 68}, {Control::Beispiel_CheckBox, 69},
                {Control::DXF_CheckBox, 70},    {Control::accept_Button, 2}};
  for (const auto& p : kPlain) m_controls.SetText(p.control, m_texts.LanguageText(p.id));
  m_applicationTitle = ::ApplicationTitle(m_texts.LanguageText(99), m_stored);
  m_view.SetApplicationTitle(m_applicationTitle);
  nav.ClearLines();
  for (int id = 63; id <= 67; ++id) nav.AddLine(m_texts.LanguageText(id), id - 63);
  for (int i = 2; i < static_cast<int>(nav.Lines().size()); ++i) nav.SetItemEnabled(i, false);
  const std::string browse = m_texts.LanguageText(60);
  m_controls.SetText(Control::DXFZiel_Button, browse);
  m_controls.SetText(Control::SirelZiel_Button, browse);
}

void TMainForm::ComboBoxSpracheChange() {
  const std::string language = m_controls.SelectedItem(Control::ComboBoxSprache);
  if (language.empty()) return;
  m_texts.SetCurrentLanguage(language);
  BindLanguageTexts();
}

void TMainForm::UserChecked(Control box, bool checked) {
  m_controls.UserChecked(box, checked);
  CheckBoxClick();
}

void TMainForm::UserSelected(Control list, int index) {
  m_controls.UserSelected(list, index);
  if (list == Control::ComboBoxSprache) ComboBoxSpracheChange();
}

void TMainForm::KelvaNavigate1Select(void* /*Sender*/, int NewTab, bool& AllowChange) {
  TKelvaNavigate& nav = m_nav;
  const std::vector<intptr_t>& pages = nav.LineObjects();
  if (NewTab < 0 || NewTab >= static_cast<int>(pages.size())) return;
  const int page = static_cast<int>(pages[static_cast<size_t>(NewTab)]);
  m_controls.ShowPage(page);
  nav.SetItemEnabled(NewTab + 1, true);
  // The focus never stays on a control of a page that is now hidden.
  if (page == 0) m_view.SetFocus(Control::ComboBoxSprache);
  if (page == 2) m_view.SetFocus(Control::Sirel_CheckBox);
  switch (page) {
    case 1: LicencePageAction(); break;
    case 3: DestinationPageAction(); break;
    case 4:
      if (!CopyPageAction()) AllowChange = false;
      break;
    default: break;
  }
}

void TMainForm::LicencePageAction() {
  m_nav.SetItemEnabled(2, m_eulaAccepted);
  const std::string name = m_texts.LanguageText(1);
  std::string text;
  if (name.empty() || !m_platform.ReadWholeFile(AddBackslash(m_data.SourceDir) + name, &text)) {
    // The page stays usable; the memo says what is missing.
    text = "The licence file \"" + name + "\" could not be read from the delivery medium.";
  } else {
    text = text::DecodeText(text);  // read as SETUP.INF is: UTF-8, else Windows-1252
  }
  m_controls.SetText(Control::eula_Memo, text);
  // The licence text takes the focus: a screen reader reads it, the arrow
  // keys scroll it, and Tab goes on to the accept button.
  m_view.SetFocus(Control::eula_Memo);
}

void TMainForm::accept_ButtonClick() {
  TKelvaNavigate& nav = m_nav;
  nav.SetItemEnabled(2, true);
  nav.SetItemIndex(2);
  m_eulaAccepted = true;
}

void TMainForm::CheckBoxClick() {
  TKelvaNavigate& nav = m_nav;
  nav.SetItemEnabled(4, false);
  const bool sirel = m_controls.Checked(Control::Sirel_CheckBox);
  const bool sample = m_controls.Checked(Control::Beispiel_CheckBox);
  const bool dxf = m_controls.Checked(Control::DXF_CheckBox);
  nav.SetItemEnabled(3, dxf || sample || sirel);
  if (!sample && !sirel) m_controls.SetText(Control::zielSirel_Edit, std::string());
  if (!dxf) m_controls.SetText(Control::zielDXF_Edit, std::string());
}

void TMainForm::FormKeyDown(int& Key, Control focused) {
  const ControlLayout* row = FindLayout(focused);
  const ControlKind kind = row ? row->kind : ControlKind::kPanel;
  const bool usesArrows = kind == ControlKind::kComboBox || kind == ControlKind::kMemo;
  const bool usesReturn = kind == ControlKind::kSpeedButton || kind == ControlKind::kPushButton;
  if (((Key == VK_DOWN || Key == VK_UP) && usesArrows) || (Key == VK_RETURN && usesReturn)) return;
  TKelvaNavigate& nav = m_nav;
  if (Key == VK_RETURN || Key == VK_DOWN) {
    if (nav.ItemIndex() < static_cast<int>(nav.Lines().size())) nav.SetItemIndex(nav.ItemIndex() + 1);
    Key = 0;
  } else if (Key == VK_UP) {
    if (nav.ItemIndex() > 0) nav.SetItemIndex(nav.ItemIndex() - 1);
    Key = 0;
  }
}

void TMainForm::Btn_CancelClick() {
  ShowMsgBox(MessageCaption(), AbortMessage(m_stored), MB_ICONINFORMATION);
  m_view.Close();
}

void TMainForm::FormResize() {
  const int cw = m_view.ClientWidth();
  const int ch = m_view.ClientHeight();
  const graphics::Rect panel = m_controls.Bounds(Control::Panel_Gesamt);
  const int top = (ch - panel.height()) / 2;
  const int left = (cw - panel.width()) / 2;
  m_controls.SetBounds(Control::Panel_Gesamt, graphics::RectAt(left, top, panel.width(), panel.height()));
  const graphics::Rect banner = m_controls.Bounds(Control::KCLabel_1);
  const int width = cw - 2 * banner.left - m_nav.Width();
  m_controls.SetBounds(Control::KCLabel_1, graphics::RectAt(banner.left, banner.top, width, banner.height()));
}

void TMainForm::SetMeterMaxValue(int MaxValue) {
  m_meter.SetMaxValue(MaxValue);
  m_view.RepaintMeter();
}

void TMainForm::StepMeterValue() {
  if (m_meter.SetUserValue(m_meter.UserValue() + 1)) m_view.RepaintMeter();
}

void TMainForm::SetLabelFile(const std::string& Caption) { m_controls.SetText(Control::LabelFile, Caption); }

void TMainForm::SetBusyCursor(bool Busy) { m_view.SetBusyCursor(Busy); }
