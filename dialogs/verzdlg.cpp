#include "dialogs/verzdlg.h"
#include "dialogs/verzlayout.h"

#include "platform/platform.h"

TVerzeichnisDlg::TVerzeichnisDlg(platform::Platform& platform, std::function<void(const std::string&)> reportError)
    : m_platform(platform), m_reportError(std::move(reportError)), m_list(platform) {
  m_list.OnSelectionChanged = [this] { DirectoryListBox1Click(); };
  m_list.OnChanged = [this] {
    if (m_view) m_view->ListChanged();
  };
}

void TVerzeichnisDlg::SetCaption(const std::string& caption) {
  if (m_view) m_view->SetCaption(caption);
}

void TVerzeichnisDlg::SetButtonCaption(DlgControl button, const std::string& caption) {
  if (m_view) m_view->SetText(button, caption);
}

int TVerzeichnisDlg::ShowModal() {
  FormShow();
  if (!m_view) return 2;
  m_view->SetVisible(DlgControl::BtnDefault, DefaultVisible);
  return m_view->RunModal();
}

void TVerzeichnisDlg::Enter(const std::string& dir) {
  if (!m_list.SetDirectory(dir) && m_reportError) {
    m_reportError("Cannot open the directory " + dir + ".");
  }
}

void TVerzeichnisDlg::FormShow() {
  const std::string dir = m_platform.IsDirectory(StartDir) ? StartDir : NearestExistingDir(StartDir);
  Enter(dir);
  m_list.OpenCurrent();
}

void TVerzeichnisDlg::DirectoryListBox1Click() { m_list.OpenCurrent(); }

void TVerzeichnisDlg::DriveComboBox1Change(char Letter) { Enter(std::string(1, Letter) + ":"); }

void TVerzeichnisDlg::BtnOKClick() {
  SelectedDir = m_list.Directory();
  if (m_view) m_view->EndModal(1);
}

void TVerzeichnisDlg::BtnAbortClick() {
  SelectedDir = StartDir;
  if (m_view) m_view->EndModal(3);
}

void TVerzeichnisDlg::BtnDefaultClick() {
  if (m_platform.IsDirectory(PresetDir)) {
    Enter(PresetDir);
    m_list.OpenCurrent();
    return;
  }
  SelectedDir = PresetDir;
  if (m_view) m_view->EndModal(1);
}

std::string TVerzeichnisDlg::NearestExistingDir(const std::string& Path) const {
  std::string S = Path;
  if (!S.empty() && S.back() == '\\') S.pop_back();
  if (m_platform.IsDirectory(S)) return S;
  for (;;) {
    const size_t cut = S.rfind('\\');
    S = cut == std::string::npos ? std::string() : S.substr(0, cut);
    if (m_platform.IsDirectory(S) || S.size() < 4) break;
  }
  return S;
}

GlyphPlacement PlaceGlyph(DlgControl button, int width, int height, int captionWidth) {
  const int glyphTop = (height - kDlgGlyphSize) / 2;
  GlyphPlacement p;
  if (button == DlgControl::BtnOK) {
    constexpr int kGlyphLeft = 2;
    p.glyph = graphics::RectAt(kGlyphLeft, glyphTop, kDlgGlyphSize, kDlgGlyphSize);
    const int restLeft = p.glyph.right;
    const int left = restLeft + (width - restLeft - captionWidth) / 2;
    p.caption = graphics::RectAt(left, 0, captionWidth, height);
    return p;
  }
  constexpr int kGap = 4;
  const int left = (width - (kDlgGlyphSize + kGap + captionWidth)) / 2;
  p.glyph = graphics::RectAt(left, glyphTop, kDlgGlyphSize, kDlgGlyphSize);
  p.caption = graphics::RectAt(p.glyph.right + kGap, 0, captionWidth, height);
  return p;
}
