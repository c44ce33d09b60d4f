#include "gui/win32/mainwindow.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/win32/wizardwidgets.h"
#include "setup/layout.h"

namespace {

const wchar_t kMainClass[] = L"SetupWizardMain";
constexpr UINT kShowLabelFile = WM_APP + 2;
constexpr int kComboDropHeight = 200;

// Edit controls want CR LF between lines.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// A click on a speed button leaves the focus where it was (the focus a
// mouse press gives it goes back at once); Tab still reaches it.
bool g_speedButtonPressed = false;

// The licence text keeps the arrow keys (they scroll it) but not Tab,
// Return or Escape: a read-only text has no use for them, and the dialog
// keys move on from it to "I accept".
LRESULT CALLBACK ReadOnlyTextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
  if (msg == WM_GETDLGCODE) return (result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB)) | DLGC_WANTARROWS;
  return result;
}

LRESULT CALLBACK SpeedButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_SETFOCUS && g_speedButtonPressed) {
    const HWND previous = reinterpret_cast<HWND>(wParam);
    if (previous && IsWindow(previous)) ::SetFocus(previous);
    return 0;
  }
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    g_speedButtonPressed = true;
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    g_speedButtonPressed = false;
    return result;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

MainWindow::MainWindow() {
  win32skin::RegisterWizardClasses();
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = win32skin::Instance();
    wc.hIcon = LoadIconW(win32skin::Instance(), L"MAINICON");
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(GdiCanvas::ToColorRef(kWindowBackground));
    wc.lpszClassName = kMainClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  // A sizeable window with the system menu and the close box only, made at
  // the system's scale; it takes its screen's scale as soon as it has one.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  m_dpi = win32skin::Dpi(win32skin::WindowDpi(nullptr));
  RECT outer{0, 0, m_dpi.Px(kDesignWidth), m_dpi.Px(kDesignHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_CONTROLPARENT);
  m_hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                           outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, win32skin::Instance(),
                           this);
  const int own = win32skin::WindowDpi(m_hwnd);
  Build();
  if (own != m_dpi.value()) Rescale(own, nullptr);
}

void MainWindow::Attach(TMainForm* form) {
  m_form = form;
  win32skin::SetMeterModel(ControlHandle(Control::KCMeter_File), form ? &form->Meter() : nullptr);
}

MainWindow::~MainWindow() {
  m_form = nullptr;
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
  m_navigate.reset();
  for (const auto& [pixels, font] : m_fonts) DeleteObject(font);
}

HFONT MainWindow::Font(int units) {
  const int pixels = m_dpi.FontPx(units);
  HFONT& font = m_fonts[pixels];
  if (!font) font = win32skin::MakeFont(L"Arial", pixels);
  return font;
}

void MainWindow::Build() {
  for (const ControlLayout& row : MainFormLayout()) {
    HWND parent = m_hwnd;
    if (row.parent == Control::Panel_Gesamt) parent = ControlHandle(Control::Panel_Gesamt);
    if (row.parent == Control::Hauptseite) parent = m_pages[static_cast<size_t>(row.page)];
    const int id = ControlId(row.control);
    m_units[static_cast<size_t>(row.control)] = row.bounds;
    const RECT b = m_dpi.Px(row.bounds);
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | (row.visible ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    int height = b.bottom - b.top;
    if (row.tabOrder >= 0) style |= WS_TABSTOP;
    switch (row.kind) {
      case ControlKind::kBanner:
        cls = win32skin::kBannerClass;
        style |= WS_CLIPSIBLINGS;
        break;
      case ControlKind::kPanel:
      case ControlKind::kNotebook:
        cls = win32skin::kContainerClass;
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        break;
      case ControlKind::kPushButton:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON;
        break;
      case ControlKind::kNavigate: break;
      case ControlKind::kHeading:
      case ControlKind::kLabel: style |= SS_NOPREFIX | (row.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP); break;
      case ControlKind::kSpeedButton:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON;
        break;
      case ControlKind::kComboBox:
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        height += m_dpi.Px(kComboDropHeight);
        break;
      case ControlKind::kMemo:
        cls = L"EDIT";
        style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
        break;
      case ControlKind::kCheckBox:
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX;
        break;
      case ControlKind::kEdit:
        cls = L"EDIT";
        style |= ES_READONLY | ES_AUTOHSCROLL;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ControlKind::kMeter: cls = win32skin::kMeterClass; break;
    }
    HWND w = nullptr;
    if (row.kind == ControlKind::kNavigate) {
      m_navigate = std::make_unique<NavigateWindow>(parent, id, row.bounds, m_dpi);
      w = m_navigate->Handle();
    } else {
      w = CreateWindowExW(exStyle, cls, L"", style, b.left, b.top, b.right - b.left, height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32skin::Instance(), nullptr);
    }
    m_controls[static_cast<size_t>(row.control)] = w;
    if (row.kind != ControlKind::kNavigate) {
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.fontPixels ? row.fontPixels : kWindowFontPixels)),
                   FALSE);
    }
    if (row.kind == ControlKind::kSpeedButton) SetWindowSubclass(w, SpeedButtonProc, 1, 0);
    if (row.kind == ControlKind::kMemo) SetWindowSubclass(w, ReadOnlyTextProc, 1, 0);
    if (row.kind == ControlKind::kMeter) win32skin::SetDrawingDpi(w, m_dpi);
    if (row.kind == ControlKind::kCheckBox) SendMessageW(w, BM_SETCHECK, row.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (row.kind == ControlKind::kNotebook) {
      // A notebook without tabs: one white page window per page.
      for (size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i] = CreateWindowExW(WS_EX_CONTROLPARENT, win32skin::kContainerClass, L"",
                                     WS_CHILD | WS_CLIPCHILDREN | (i == 0 ? WS_VISIBLE : 0), 0, 0, b.right - b.left,
                                     b.bottom - b.top, w, nullptr, win32skin::Instance(), nullptr);
      }
    }
  }
  OrderTabStops();
  // Where a small window makes the panel overlap the title banner, the
  // panel covers it: the banner lies below every sibling and paints around them.
  SetWindowPos(ControlHandle(Control::KCLabel_1), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::OrderTabStops() {
  // Tab order is the order of siblings: move the controls with a tab stop to
  // the end of their parent's list, one after another as the table numbers them.
  std::vector<const ControlLayout*> rows;
  for (const ControlLayout& row : MainFormLayout()) {
    if (row.tabOrder >= 0) rows.push_back(&row);
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const ControlLayout* a, const ControlLayout* b) { return a->tabOrder < b->tabOrder; });
  for (const ControlLayout* row : rows) {
    SetWindowPos(ControlHandle(row->control), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // A label shared by two controls names the first one until the other is shown.
  std::vector<Control> placed;
  for (const ControlLayout& row : MainFormLayout()) {
    const Control label = LabelOf(row.control);
    if (label == Control::kCount || std::find(placed.begin(), placed.end(), label) != placed.end()) continue;
    placed.push_back(label);
    PlaceLabelBefore(row.control);
  }
}

void MainWindow::PlaceLabelBefore(Control control) {
  // The system names a list or a field by the label just before it; labels
  // take no focus, so moving one there leaves Tab as it was.
  if (LabelOf(control) == Control::kCount) return;
  const HWND label = ControlHandle(LabelOf(control));
  const HWND w = ControlHandle(control);
  if (!label || !w || GetParent(label) != GetParent(w)) return;
  const HWND before = GetWindow(w, GW_HWNDPREV);
  if (before == label) return;
  SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = win32skin::WindowObject<MainWindow>(hwnd, msg, lParam);
  if (self && msg == WM_NCCREATE) self->m_hwnd = hwnd;
  if (!self) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  return self->Handle(msg, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Everything on the panel and the pages sits on white.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, RGB(255, 255, 255));
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case kShowLabelFile:
      m_labelFilePending = false;
      ShowText(ControlHandle(Control::LabelFile), FindLayout(Control::LabelFile), m_labelFile);
      return 0;
    case WM_SIZE:
      if (m_form) m_form->FormResize();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
          POINT{m_dpi.Px(kMinTrackWidth), m_dpi.Px(kMinTrackHeight)};
      return 0;
    case WM_DPICHANGED: Rescale(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SETCURSOR:
      if (m_busy) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(m_hwnd, focus)) m_lastFocus = focus;
      } else if (m_refocus && IsWindowVisible(m_refocus)) {
        ::SetFocus(m_refocus);
        m_refocus = nullptr;
        return 0;
      } else if (m_lastFocus && IsWindow(m_lastFocus)) {
        ::SetFocus(m_lastFocus);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (m_form && !m_form->FormCloseQuery()) return 0;
      DestroyWindow(m_hwnd);
      return 0;
    case WM_DESTROY:
      win32skin::HideHint();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
      m_hwnd = nullptr;
      break;
    default: break;
  }
  return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

void MainWindow::Command(int id, int code) {
  if (!m_form) return;
  const auto control = static_cast<Control>(id - kControlIdBase);
  if (id < kControlIdBase || control >= Control::kCount) return;
  switch (control) {
    case Control::ComboBoxSprache:
    case Control::drive_Combo:
      if (code == CBN_SELCHANGE) {
        m_form->UserSelected(control, static_cast<int>(SendMessageW(ControlHandle(control), CB_GETCURSEL, 0, 0)));
      }
      break;
    case Control::Sirel_CheckBox:
    case Control::Beispiel_CheckBox:
    case Control::DXF_CheckBox:
      if (code == BN_CLICKED) {
        m_form->UserChecked(control, SendMessageW(ControlHandle(control), BM_GETCHECK, 0, 0) == BST_CHECKED);
      }
      break;
    case Control::Btn_Cancel:
      if (code == BN_CLICKED) m_form->Btn_CancelClick();
      break;
    case Control::accept_Button:
      if (code == BN_CLICKED) m_form->accept_ButtonClick();
      break;
    case Control::SirelZiel_Button:
      if (code == BN_CLICKED) m_form->SirelZiel_ButtonClick();
      break;
    case Control::DXFZiel_Button:
      if (code == BN_CLICKED) m_form->BtnZielverzeichnisClick();
      break;
    default: break;
  }
}

Control MainWindow::ControlOf(HWND w) const {
  // A part of a control (a combo box's edit or list) counts as the control.
  for (; w && w != m_hwnd; w = GetParent(w)) {
    for (size_t i = 0; i < m_controls.size(); ++i) {
      if (m_controls[i] == w) return static_cast<Control>(i);
    }
  }
  return Control::kCount;
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (!m_hwnd || (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd))) return false;
  // Key preview: the window sees Return and the arrow keys before the
  // focused control, and a key it consumes goes no further.
  if (msg.message == WM_KEYDOWN && m_form &&
      (msg.wParam == VK_RETURN || msg.wParam == VK_UP || msg.wParam == VK_DOWN)) {
    int key = static_cast<int>(msg.wParam);
    m_form->FormKeyDown(key, ControlOf(msg.hwnd));
    if (key == 0) return true;
  }
  return IsDialogMessageW(m_hwnd, &msg) != FALSE;
}

void MainWindow::SetText(Control control, const std::string& text) {
  const HWND w = ControlHandle(control);
  if (!w) return;
  const ControlLayout* row = FindLayout(control);
  if (row && row->kind == ControlKind::kMemo) {
    SetWindowTextW(w, win32skin::Wide(WithCrLf(text)).c_str());
    return;
  }
  // The label of the copied file changes once per file: it takes the newest
  // name in the next pass over pending messages, not once per file (each
  // change of a window's text is a call to the window system).
  if (control == Control::LabelFile) {
    m_labelFile = text;
    if (!m_labelFilePending) {
      m_labelFilePending = true;
      PostMessageW(m_hwnd, kShowLabelFile, 0, 0);
    }
    return;
  }
  ShowText(w, row, text);
}

void MainWindow::ShowText(HWND w, const ControlLayout* row, const std::string& text) {
  const std::wstring shown = win32skin::Wide(text);
  SetWindowTextW(w, shown.c_str());
  if (!row || !row->autoSize) return;
  HDC dc = GetDC(w);
  const HGDIOBJ saved = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  const std::wstring measured = shown.empty() ? std::wstring(L" ") : shown;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, saved);
  ReleaseDC(w, dc);
  SetWindowPos(w, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetVisible(Control control, bool visible) {
  const HWND w = ControlHandle(control);
  if (!w) return;
  // A control hidden with the focus (a Browse button while its chooser is
  // open) gets it back when it shows again; meanwhile the system gives it
  // to the page, which no screen reader can name.
  const HWND focus = GetFocus();
  if (!visible && focus && (focus == w || IsChild(w, focus))) m_refocus = w;
  ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
  if (visible) PlaceLabelBefore(control);  // a shared label names the one shown
  if (visible && w == m_refocus && GetActiveWindow() == m_hwnd) {
    m_refocus = nullptr;
    ::SetFocus(w);
  }
}

void MainWindow::SetChecked(Control control, bool checked) {
  if (const HWND w = ControlHandle(control)) SendMessageW(w, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SetItems(Control control, const std::vector<std::string>& items) {
  const HWND w = ControlHandle(control);
  if (!w) return;
  SendMessageW(w, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32skin::Wide(item).c_str()));
  }
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void MainWindow::SetItemIndex(Control control, int index) {
  if (const HWND w = ControlHandle(control)) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindow::SetBounds(Control control, const graphics::Rect& b) {
  if (control >= Control::kCount) return;
  m_units[static_cast<size_t>(control)] = b;
  Place(control);
}

void MainWindow::Place(Control control) {
  const HWND w = ControlHandle(control);
  if (!w) return;
  const ControlLayout* row = FindLayout(control);
  const RECT r = m_dpi.Px(m_units[static_cast<size_t>(control)]);
  const int extra = row && row->kind == ControlKind::kComboBox ? m_dpi.Px(kComboDropHeight) : 0;
  MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top + extra, TRUE);
}

void MainWindow::Rescale(int dpi, const RECT* proposed) {
  if (dpi <= 0 || dpi == m_dpi.value()) return;
  RECT window{};
  GetWindowRect(m_hwnd, &window);
  const win32skin::Dpi old = m_dpi;
  m_dpi = win32skin::Dpi(dpi);
  for (const ControlLayout& row : MainFormLayout()) {
    const HWND w = ControlHandle(row.control);
    if (row.kind == ControlKind::kNavigate) {
      m_navigate->SetDpi(m_dpi);
    } else {
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.fontPixels ? row.fontPixels : kWindowFontPixels)),
                   FALSE);
    }
    if (row.kind == ControlKind::kMeter) win32skin::SetDrawingDpi(w, m_dpi);
    Place(row.control);
    if (row.autoSize) ShowText(w, &row, win32skin::Utf8(win32skin::WindowText(w)));
  }
  RECT notebook{};
  GetClientRect(ControlHandle(Control::Hauptseite), &notebook);
  for (HWND page : m_pages) MoveWindow(page, 0, 0, notebook.right, notebook.bottom, FALSE);
  // The window keeps its size in units: it moves to the rectangle the system
  // proposes, or grows in place.
  const int width = proposed ? proposed->right - proposed->left : m_dpi.Px(old.Units(window.right - window.left));
  const int height = proposed ? proposed->bottom - proposed->top : m_dpi.Px(old.Units(window.bottom - window.top));
  SetWindowPos(m_hwnd, nullptr, proposed ? proposed->left : window.left, proposed ? proposed->top : window.top, width,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_form) m_form->FormResize();
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::SetFocus(Control control) {
  m_refocus = nullptr;
  if (const HWND w = ControlHandle(control)) ::SetFocus(w);
}

void MainWindow::SetAccessibleName(Control control, const std::string& name) {
  // The drawn meter carries its name as its window text; the system names
  // the native controls by their labels.
  if (control == Control::KCMeter_File) SetWindowTextW(ControlHandle(control), win32skin::Wide(name).c_str());
}

void MainWindow::ShowPage(int page) {
  if (page < 0 || page >= static_cast<int>(m_pages.size())) return;
  for (size_t i = 0; i < m_pages.size(); ++i) {
    ShowWindow(m_pages[i], static_cast<int>(i) == page ? SW_SHOWNA : SW_HIDE);
  }
}

void MainWindow::SetWindowCaption(const std::string& caption) {
  SetWindowTextW(m_hwnd, win32skin::Wide(caption).c_str());
}

graphics::Rect MainWindow::ScreenRect() const {
  RECT r{0, 0, m_dpi.Px(kDesignWidth), m_dpi.Px(kDesignHeight)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return graphics::Rect{m_dpi.Units(r.left), m_dpi.Units(r.top), m_dpi.Units(r.right), m_dpi.Units(r.bottom)};
}

void MainWindow::SetWindowBounds(const graphics::Rect& b) {
  SetWindowPos(m_hwnd, nullptr, m_dpi.Px(b.left), m_dpi.Px(b.top), m_dpi.Px(std::max(b.width(), kMinTrackWidth)),
               m_dpi.Px(std::max(b.height(), kMinTrackHeight)), SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::ClientWidth() const {
  RECT r{};
  GetClientRect(m_hwnd, &r);
  return m_dpi.Units(r.right);
}

int MainWindow::ClientHeight() const {
  RECT r{};
  GetClientRect(m_hwnd, &r);
  return m_dpi.Units(r.bottom);
}

void MainWindow::SetBusyCursor(bool busy) {
  if (busy == m_busy) return;
  m_busy = busy;
  SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

// The meter is painted in the next pass over pending messages, as the label
// of the copied file is: changes between two passes come to one paint. At
// once, each change cost a paint of its own (about 0.3 ms under Wine, some
// hundred times in every copy).
void MainWindow::RepaintMeter() {
  if (const HWND w = ControlHandle(Control::KCMeter_File)) InvalidateRect(w, nullptr, FALSE);
}

void MainWindow::RepaintNavigateNow() { m_navigate->PaintNow(); }

void MainWindow::Close() {
  // Closed from the message loop, not from inside the handler that asks.
  if (m_hwnd) PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
}
