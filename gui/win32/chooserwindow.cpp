#include "gui/win32/chooserwindow.h"

#include <algorithm>
#include <vector>

#include "dialogs/verzlayout.h"
#include "gui/win32/accessible.h"
#include "gui/win32/win32support.h"
#include "platform/platform.h"
#include "platform/text/utf8.h"

namespace {

const wchar_t kChooserClass[] = L"SetupChooser";
constexpr int kIndent = 10;          // units per level of the directory list
constexpr int kDriveListDrop = 160;  // the drive box's list below it

int DriveImageIndex(unsigned type) {
  switch (type) {
    case platform::kDriveRemovable: return 0;
    case platform::kDriveRemote: return 2;
    case platform::kDriveCdRom: return 3;
    case platform::kDriveRamDisk: return 4;
    default: return 1;
  }
}

}  // namespace

ChooserWindow::ChooserWindow(platform::Platform& platform, HWND owner) : m_platform(platform), m_owner(owner) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = win32skin::Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kChooserClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  static const char* const kFolders[] = {"OPENFOLDER", "CURRENTFOLDER", "CLOSEDFOLDER"};
  static const char* const kDrives[] = {"FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"};
  static const char* const kGlyphs[] = {"GLYPH_TICK", "GLYPH_CROSS", "GLYPH_RETURN"};
  for (int i = 0; i < 3; ++i) m_folders[i] = win32skin::LoadBitmapResource(kFolders[i]);
  for (int i = 0; i < 5; ++i) m_drives[i] = win32skin::LoadBitmapResource(kDrives[i]);
  for (int i = 0; i < 3; ++i) m_glyphs[i] = win32skin::LoadBitmapResource(kGlyphs[i]);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  m_hwnd = CreateWindowExW(exStyle, kChooserClass, L"", style, 0, 0, 0, 0, owner, nullptr, win32skin::Instance(), this);
  std::vector<const DlgControlLayout*> order;
  for (const DlgControlLayout& row : VerzeichnisDlgLayout()) {
    const wchar_t* cls = L"BUTTON";
    DWORD cstyle = WS_CHILD | (row.visible ? WS_VISIBLE : 0) | (row.tabOrder >= 0 ? WS_TABSTOP : 0);
    DWORD cex = 0;
    switch (row.control) {
      case DlgControl::LblPath:
        cls = L"STATIC";
        cstyle |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
        break;
      case DlgControl::DirectoryListBox1:
        cls = L"LISTBOX";
        cstyle |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        cex = WS_EX_CLIENTEDGE;
        break;
      case DlgControl::DriveComboBox1:
        cls = L"COMBOBOX";
        cstyle |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
        break;
      default: cstyle |= BS_OWNERDRAW; break;
    }
    CreateWindowExW(cex, cls, row.control == DlgControl::BtnOK ? L"&OK" : L"", cstyle, 0, 0, 0, 0, m_hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(DlgControlId(row.control))), win32skin::Instance(),
                    nullptr);
    if (row.tabOrder >= 0) order.push_back(&row);
  }
  // No label stands before the folder list and the drive box: screen readers
  // know both by the chooser's caption.
  for (DlgControl named : {DlgControl::DirectoryListBox1, DlgControl::DriveComboBox1}) {
    win32skin::NameControl(Control(named), [this] { return win32skin::Utf8(win32skin::WindowText(m_hwnd)); });
  }
  m_dpi = win32skin::Dpi(win32skin::WindowDpi(owner ? owner : m_hwnd));
  Place();
  RECT outer{0, 0, m_dpi.Px(kDlgClientWidth), m_dpi.Px(kDlgClientHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  SetWindowPos(m_hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::sort(order.begin(), order.end(),
            [](const DlgControlLayout* a, const DlgControlLayout* b) { return a->tabOrder < b->tabOrder; });
  for (const DlgControlLayout* row : order) {
    SetWindowPos(Control(row->control), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ChooserWindow::Place() {
  // A bold sans serif of 11 units, the chooser's one font.
  const HFONT old = m_font;
  m_font = win32skin::MakeFont(L"MS Sans Serif", m_dpi.FontPx(kDlgFontPixels), true);
  for (const DlgControlLayout& row : VerzeichnisDlgLayout()) {
    const HWND w = Control(row.control);
    const RECT r = m_dpi.Px(row.bounds);
    const int drop = row.control == DlgControl::DriveComboBox1 ? m_dpi.Px(kDriveListDrop) : 0;
    MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top + drop, FALSE);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  }
  SendMessageW(Control(DlgControl::DirectoryListBox1), LB_SETITEMHEIGHT, 0, m_dpi.Px(kDlgItemHeight));
  SendMessageW(Control(DlgControl::DriveComboBox1), CB_SETITEMHEIGHT, 0, m_dpi.Px(kDlgItemHeight));
  if (old) DeleteObject(old);
  if (m_controller) ListChanged();
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ChooserWindow::Attach(TVerzeichnisDlg* controller) {
  m_controller = controller;
  if (m_controller) ListChanged();
}

ChooserWindow::~ChooserWindow() {
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
  DeleteObject(m_font);
  for (HBITMAP b : m_folders) DeleteObject(b);
  for (HBITMAP b : m_drives) DeleteObject(b);
  for (HBITMAP b : m_glyphs) DeleteObject(b);
}

HWND ChooserWindow::Control(DlgControl control) const { return GetDlgItem(m_hwnd, DlgControlId(control)); }

LRESULT CALLBACK ChooserWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = win32skin::WindowObject<ChooserWindow>(hwnd, msg, lParam);
  if (self && msg == WM_NCCREATE) self->m_hwnd = hwnd;
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT ChooserWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (!m_controller) break;
      if (id == DlgControlId(DlgControl::BtnOK) && code == BN_CLICKED) m_controller->BtnOKClick();
      if (id == DlgControlId(DlgControl::BtnAbort) && code == BN_CLICKED) m_controller->BtnAbortClick();
      if (id == DlgControlId(DlgControl::BtnDefault) && code == BN_CLICKED) m_controller->BtnDefaultClick();
      if (id == DlgControlId(DlgControl::DirectoryListBox1) && code == LBN_SELCHANGE) {
        const int row = static_cast<int>(SendMessageW(Control(DlgControl::DirectoryListBox1), LB_GETCURSEL, 0, 0));
        if (row >= 0) m_controller->List().Select(row);
      }
      if (id == DlgControlId(DlgControl::DriveComboBox1) && code == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(Control(DlgControl::DriveComboBox1), CB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(m_driveEntries.size())) {
          m_controller->DriveComboBox1Change(m_driveEntries[static_cast<size_t>(index)].letter);
        }
      }
      return 0;
    }
    case DM_GETDEFID: return MAKELRESULT(DlgControlId(DlgControl::BtnOK), DC_HASDEFID);
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(m_dpi.Px(kDlgItemHeight));
      return TRUE;
    case WM_DPICHANGED: {
      m_dpi = win32skin::Dpi(HIWORD(wParam));
      Place();
      const RECT& r = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType == ODT_BUTTON) {
        DrawButton(item);
      } else {
        DrawItem(item);
      }
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hwnd, &ps);
      RECT bevel = m_dpi.Px(kDlgBevel);
      DrawEdge(dc, &bevel, EDGE_ETCHED, BF_RECT);
      EndPaint(m_hwnd, &ps);
      return 0;
    }
    case WM_CLOSE: EndModal(2); return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
      m_hwnd = nullptr;
      m_modal = false;
      break;
    default: break;
  }
  return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

void ChooserWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;
  HBITMAP image = nullptr;
  std::wstring text;
  int x = r.left + m_dpi.Px(2);
  if (item.CtlID == static_cast<UINT>(DlgControlId(DlgControl::DirectoryListBox1))) {
    if (!m_controller) return;
    const auto& entries = m_controller->List().Entries();
    if (item.itemID >= entries.size()) return;
    const DirectoryListModel::Entry& e = entries[item.itemID];
    image = m_folders[static_cast<int>(e.kind)];
    text = win32skin::Wide(e.name);
    x += m_dpi.Px(e.depth * kIndent);
  } else {
    if (item.itemID >= m_driveEntries.size()) return;
    const DriveEntry& drive = m_driveEntries[item.itemID];
    image = m_drives[DriveImageIndex(drive.type)];
    text = win32skin::Wide(std::string(1, drive.letter) + ":");
  }
  const SIZE size = win32skin::BitmapSize(image);
  const int imageHeight = m_dpi.Px(size.cy);
  win32skin::DrawBitmap(dc, image, x, r.top + (r.bottom - r.top - imageHeight) / 2, win32skin::BottomLeftColour(image),
                        false, m_dpi);
  x += m_dpi.Px(size.cx + 4);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT textRect{x, r.top, r.right, r.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void ChooserWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool isDefault = item.CtlID == static_cast<UINT>(DlgControlId(DlgControl::BtnOK));
  if (isDefault) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const HBITMAP glyph = m_glyphs[item.CtlID - kDlgControlIdBase];
  const std::wstring text = win32skin::WindowText(item.hwndItem);
  const HGDIOBJ saved = SelectObject(dc, m_font);
  RECT measure{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
  const int shift = pressed ? 1 : 0;
  const GlyphPlacement place = PlaceGlyph(
      static_cast<DlgControl>(item.CtlID - kDlgControlIdBase), m_dpi.Units(item.rcItem.right - item.rcItem.left),
      m_dpi.Units(item.rcItem.bottom - item.rcItem.top), m_dpi.Units(measure.right));
  const RECT glyphAt = m_dpi.Px(place.glyph), captionAt = m_dpi.Px(place.caption);
  win32skin::DrawBitmap(dc, glyph, item.rcItem.left + glyphAt.left + shift, item.rcItem.top + glyphAt.top + shift,
                        win32skin::BottomLeftColour(glyph), (item.itemState & ODS_DISABLED) != 0, m_dpi);
  RECT textRect{item.rcItem.left + captionAt.left + shift, item.rcItem.top + shift,
                item.rcItem.left + captionAt.right + shift, item.rcItem.bottom + shift};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, saved);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -m_dpi.Px(4), -m_dpi.Px(4));
    DrawFocusRect(dc, &focus);
  }
}

void ChooserWindow::SetCaption(const std::string& caption) { SetWindowTextW(m_hwnd, win32skin::Wide(caption).c_str()); }

void ChooserWindow::SetText(DlgControl control, const std::string& text) {
  if (control == DlgControl::BtnOK || control == DlgControl::BtnAbort || control == DlgControl::BtnDefault) {
    SetWindowTextW(Control(control), win32skin::Wide(text).c_str());
    InvalidateRect(Control(control), nullptr, FALSE);
  }
}

void ChooserWindow::SetVisible(DlgControl control, bool visible) {
  if (control == DlgControl::BtnOK || control == DlgControl::BtnAbort || control == DlgControl::BtnDefault) {
    ShowWindow(Control(control), visible ? SW_SHOWNA : SW_HIDE);
  }
}

bool ChooserWindow::PreTranslate(MSG& msg) {
  if (!m_modal || !m_hwnd || (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd))) return false;
  return IsDialogMessageW(m_hwnd, &msg) != FALSE;
}

int ChooserWindow::RunModal() {
  if (!m_hwnd || !m_runUntil) return 2;
  RECT area{0, 0, 800, 600};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT own;
  GetWindowRect(m_hwnd, &own);
  const int w = own.right - own.left;
  const int h = own.bottom - own.top;
  SetWindowPos(m_hwnd, HWND_TOP, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE);
  m_result = 2;
  m_modal = true;
  if (m_owner) EnableWindow(m_owner, FALSE);
  ShowWindow(m_hwnd, SW_SHOW);
  ::SetFocus(m_lastFocus && IsWindow(m_lastFocus) ? m_lastFocus : Control(DlgControl::BtnOK));
  m_runUntil([this] { return !m_modal; });
  m_modal = false;
  // The owner is enabled before the chooser hides, so it gets the activation back.
  if (m_owner) EnableWindow(m_owner, TRUE);
  if (m_hwnd) {
    const HWND focus = GetFocus();
    if (focus && IsChild(m_hwnd, focus)) m_lastFocus = focus;
    ShowWindow(m_hwnd, SW_HIDE);
  }
  if (m_owner) SetActiveWindow(m_owner);
  return m_result;
}

void ChooserWindow::EndModal(int result) {
  m_result = result;
  m_modal = false;
}

void ChooserWindow::ListChanged() {
  if (!m_hwnd || !m_controller) return;
  const DirectoryListModel& model = m_controller->List();
  const HWND list = Control(DlgControl::DirectoryListBox1);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const DirectoryListModel::Entry& e : model.Entries()) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32skin::Wide(e.name).c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(model.SelectedIndex()), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);

  const HWND drives = Control(DlgControl::DriveComboBox1);
  SendMessageW(drives, CB_RESETCONTENT, 0, 0);
  m_driveEntries = DriveBoxEntries(m_platform);
  int current = -1;
  for (size_t i = 0; i < m_driveEntries.size(); ++i) {
    const char letter = m_driveEntries[i].letter;
    const std::string text = std::string(1, letter) + ":";
    if (text::SameName(model.Directory().substr(0, 2), text)) current = static_cast<int>(i);
    SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32skin::Wide(text).c_str()));
  }
  SendMessageW(drives, CB_SETCURSEL, static_cast<WPARAM>(current), 0);

  const HWND label = Control(DlgControl::LblPath);
  HDC dc = GetDC(label);
  const HGDIOBJ saved = SelectObject(dc, m_font);
  const auto measure = [dc, this](const std::string& s) {
    const std::wstring wide = win32skin::Wide(s);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return m_dpi.Units(static_cast<int>(size.cx));
  };
  const std::wstring shown = win32skin::Wide(ShortenPath(model.Directory(), kDlgPathWidth, measure));
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
  SelectObject(dc, saved);
  ReleaseDC(label, dc);
  SetWindowTextW(label, shown.c_str());
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
