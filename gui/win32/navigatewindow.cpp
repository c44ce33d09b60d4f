#include "gui/win32/navigatewindow.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/win32/navigateaccessible.h"
#include "gui/win32/win32support.h"
#include "setup/layout.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT_PTR kHintTimer = 2;
constexpr UINT kHintDelay = 500;  // milliseconds
constexpr UINT kAnnounceFocus = WM_APP + 3;

const wchar_t* const kClassName = L"SetupNavigate";

}  // namespace

NavigateWindow::NavigateWindow(HWND parent, int id, const graphics::Rect& bounds, win32skin::Dpi dpi) : m_dpi(dpi) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = win32skin::Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  m_measureDc = CreateCompatibleDC(nullptr);
  // A tab stop of its own (no control parent: it has no children for Tab to
  // walk into, and the dialog keys would skip it).
  const RECT r = m_dpi.Px(bounds);
  m_hwnd = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32skin::Instance(), this);
  SetDpi(m_dpi);
}

void NavigateWindow::SetDpi(win32skin::Dpi dpi) {
  m_dpi = dpi;
  const HFONT old = m_font;
  m_font = win32skin::MakeFont(L"Arial", m_dpi.FontPx(kSideBarFontPixels));
  // The model keeps the measuring canvas: it changes, it is not replaced.
  if (m_measure) {
    m_measure->SetScale(m_font, m_dpi);
  } else {
    m_measure = std::make_unique<GdiCanvas>(m_measureDc, m_font, m_dpi);
  }
  if (old) DeleteObject(old);
  if (!m_hwnd) return;
  win32skin::SetDrawingDpi(m_hwnd, m_dpi);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  if (m_model) m_model->SetBounds(m_dpi.Units(client.right), m_dpi.Units(client.bottom));
  InvalidateRect(m_hwnd, nullptr, FALSE);
}

void NavigateWindow::SetModel(TKelvaNavigate* model) {
  m_model = model;
  m_announced = model ? model->ItemIndex() : 0;
  if (m_hwnd) win32skin::BindModel(m_hwnd, model);
  if (m_hwnd) {
    KillTimer(m_hwnd, kRepeatTimer);
    InvalidateRect(m_hwnd, nullptr, FALSE);
  }
  ForgetHint();
  if (!model) return;
  RECT client{};
  if (m_hwnd) GetClientRect(m_hwnd, &client);
  model->SetBounds(TKelvaNavigate::kWidth, std::max<int>(m_dpi.Units(client.bottom), model->MinHeight()));
  model->Loaded();
}

NavigateWindow::~NavigateWindow() {
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    KillTimer(m_hwnd, kRepeatTimer);
    KillTimer(m_hwnd, kHintTimer);
  }
  m_measure.reset();
  DeleteDC(m_measureDc);
  DeleteObject(m_font);
}

LRESULT CALLBACK NavigateWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = win32skin::WindowObject<NavigateWindow>(hwnd, msg, lParam);
  if (self && msg == WM_NCCREATE) self->m_hwnd = hwnd;
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    win32skin::BindModel(hwnd, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  return self->Handle(msg, wParam, lParam);
}

LRESULT NavigateWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC target, const RECT& update) {
    win32skin::PaintBuffered(m_hwnd, target, update, [&](HDC dc) {
      GdiCanvas canvas(dc, m_font, m_dpi);
      m_model->Paint(canvas, m_dpi.Covering(update));
    });
  };
  if (!m_model) {
    // Until the wizard gives the side-bar its model there is nothing to show.
    if (msg != WM_PAINT) return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    BeginPaint(m_hwnd, &ps);
    EndPaint(m_hwnd, &ps);
    return 0;
  }
  switch (msg) {
    case WM_GETOBJECT:
      if (const LRESULT object = win32skin::AnswerGetObject(m_hwnd, m_model, wParam, lParam)) return object;
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hwnd, &ps);
      paint(dc, ps.rcPaint);
      EndPaint(m_hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(m_hwnd, &client);
      paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_SIZE: m_model->SetBounds(m_dpi.Units(LOWORD(lParam)), m_dpi.Units(HIWORD(lParam))); return 0;
    case WM_MOUSEMOVE:
      MouseMove(m_dpi.Units(GET_X_LPARAM(lParam)), m_dpi.Units(GET_Y_LPARAM(lParam)), static_cast<int>(wParam));
      return 0;
    case WM_MOUSELEAVE:
      m_tracking = false;
      MouseLeft();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Press(lParam, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: Press(lParam, false); return 0;
    case WM_LBUTTONUP:
      // The capture goes before the click, which may run for a long time.
      if (GetCapture() == m_hwnd) ReleaseCapture();
      m_model->MouseUp(m_dpi.Units(GET_X_LPARAM(lParam)), m_dpi.Units(GET_Y_LPARAM(lParam)));
      return 0;
    case WM_SETCURSOR: {
      // The parent decides first (the busy cursor of the whole window).
      HWND parent = GetParent(m_hwnd);
      if (parent && SendMessageW(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (LOWORD(lParam) != HTCLIENT) break;
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(m_hwnd, &p);
      SetCursor(m_model->HandCursorAt(m_dpi.Units(p.x), m_dpi.Units(p.y)) ? win32skin::HandCursor()
                                                                          : LoadCursor(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kRepeatTimer) m_model->RepeatTimerTick();
      if (wParam == kHintTimer) {
        KillTimer(m_hwnd, kHintTimer);
        POINT p;
        GetCursorPos(&p);
        win32skin::ShowHint(p, m_pendingHint);
      }
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      m_model->SetFocused(msg == WM_SETFOCUS);
      m_focusAnnounced = -1;
      // The focus lies on the current step: told once the handler that gave
      // the focus is through, since it may be changing the step just then.
      if (msg == WM_SETFOCUS) PostMessageW(m_hwnd, kAnnounceFocus, 0, 0);
      return 0;
    case kAnnounceFocus:
      if (GetFocus() == m_hwnd && m_focusAnnounced != m_model->ItemIndex()) {
        m_focusAnnounced = m_model->ItemIndex();
        win32skin::NotifyStepChanged(m_hwnd, m_focusAnnounced, true);
      }
      return 0;
    default: break;
  }
  return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

void NavigateWindow::Press(LPARAM at, bool primary) {
  win32skin::HideHint();
  KillTimer(m_hwnd, kHintTimer);
  m_model->MouseDown(m_dpi.Units(GET_X_LPARAM(at)), m_dpi.Units(GET_Y_LPARAM(at)), primary);
  // Held only while a button is down: a step's click may run the whole copy.
  if (m_hwnd && m_model->PressedPart() != NavigatePart::kNone) SetCapture(m_hwnd);
}

void NavigateWindow::MouseMove(int x, int y, int shift) {
  if (!m_tracking) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
    m_tracking = TrackMouseEvent(&track) != FALSE;
  }
  m_model->MouseMove(x, y, shift);
  const std::string hint = m_model->HintAt(x, y);
  if (hint != m_pendingHint) {
    ForgetHint();
    m_pendingHint = hint;
    if (!hint.empty()) SetTimer(m_hwnd, kHintTimer, kHintDelay, nullptr);
  }
}

void NavigateWindow::MouseLeft() {
  if (m_model) m_model->MouseLeave();
  ForgetHint();
}

void NavigateWindow::ForgetHint() {
  m_pendingHint.clear();
  if (m_hwnd) KillTimer(m_hwnd, kHintTimer);
  win32skin::HideHint();
}

void NavigateWindow::Repaint() {
  if (!m_hwnd) return;
  InvalidateRect(m_hwnd, nullptr, FALSE);
  if (m_model && m_model->ItemIndex() != m_announced) {
    m_announced = m_model->ItemIndex();
    const bool focused = GetFocus() == m_hwnd;
    if (focused) m_focusAnnounced = m_announced;
    win32skin::NotifyStepChanged(m_hwnd, m_announced, focused);
  }
}

void NavigateWindow::RepaintRect(const graphics::Rect& area) {
  if (!m_hwnd) return;
  const RECT r = m_dpi.Px(area);
  InvalidateRect(m_hwnd, &r, FALSE);
}

void NavigateWindow::PointerStateChanged() {
  if (!m_hwnd) return;
  POINT p;
  GetCursorPos(&p);
  if (WindowFromPoint(p) == m_hwnd) SendMessageW(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), HTCLIENT);
}

void NavigateWindow::TimerChanged() {
  if (!m_hwnd) return;
  if (m_model && m_model->RepeatTimerEnabled()) {
    SetTimer(m_hwnd, kRepeatTimer, TKelvaNavigate::kRepeatInterval, nullptr);
  } else {
    KillTimer(m_hwnd, kRepeatTimer);
  }
}

void NavigateWindow::PaintNow() {
  if (!m_hwnd) return;
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
