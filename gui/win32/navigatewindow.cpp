#include "gui/win32/navigatewindow.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/win32/win32support.h"
#include "setup/layout.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT_PTR kHintTimer = 2;
constexpr UINT kHintDelay = 500;  // milliseconds
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT ToRect(const graphics::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

const char* const kClassName = "SetupNavigate";

}  // namespace

NavigateWindow::NavigateWindow(HWND parent, int id, const RECT& bounds) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = win32skin::Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  m_font = win32skin::MakeFont("Arial", kSideBarFontPixels);
  m_measureDc = CreateCompatibleDC(nullptr);
  m_measure = std::make_unique<GdiCanvas>(m_measureDc, m_font);
  m_up = win32skin::LoadBitmapResource("AR_TOP");
  m_down = win32skin::LoadBitmapResource("AR_BOTTOM");
  m_prev = win32skin::LoadBitmapResource("AR_LEFT");
  m_next = win32skin::LoadBitmapResource("AR_RIGHT");
  m_bracketLeft = win32skin::LoadBitmapResource("BR_LEFT");
  m_bracketRight = win32skin::LoadBitmapResource("BR_RIGHT");
  m_logo = win32skin::LoadBitmapResource("KELVA15");

  m_model = std::make_unique<TKelvaNavigate>(static_cast<NavigateHost*>(this));
  m_hwnd = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                           bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32skin::Instance(), this);
  TKelvaNavigate& nav = *m_model;
  nav.SetBounds(143, std::max<int>(bounds.bottom - bounds.top, nav.FMinHeight));
  nav.Loaded();
  ChildrenChanged();
}

NavigateWindow::~NavigateWindow() {
  m_model->SetOnSelect(nullptr);
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    KillTimer(m_hwnd, kRepeatTimer);
    KillTimer(m_hwnd, kHintTimer);
  }
  m_measure.reset();
  DeleteDC(m_measureDc);
  DeleteObject(m_font);
  for (HBITMAP b : {m_up, m_down, m_prev, m_next, m_bracketLeft, m_bracketRight, m_logo}) {
    if (b) DeleteObject(b);
  }
}

LRESULT CALLBACK NavigateWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = win32skin::WindowObject<NavigateWindow>(hwnd, msg, lParam);
  if (self && msg == WM_NCCREATE) self->m_hwnd = hwnd;
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return self->Handle(msg, wParam, lParam);
}

LRESULT NavigateWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hwnd, &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(m_hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(m_hwnd, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_SIZE:
      m_model->SetBounds(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<int>(wParam));
      return 0;
    case WM_MOUSELEAVE:
      m_tracking = false;
      MouseLeft();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      win32skin::HideHint();
      KillTimer(m_hwnd, kHintTimer);
      m_pressed = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (m_pressed == Part::kList) {
        Click(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        m_pressed = Part::kNone;
      } else if (m_pressed != Part::kNone) {
        SetCapture(m_hwnd);
        InvalidateRect(m_hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      const Part pressed = m_pressed;
      m_pressed = Part::kNone;
      if (GetCapture() == m_hwnd) ReleaseCapture();
      InvalidateRect(m_hwnd, nullptr, FALSE);
      if (pressed != Part::kNone && PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == pressed) {
        if (pressed == Part::kUp) m_model->ScrollUp();
        if (pressed == Part::kDown) m_model->ScrollDown();
        if (pressed == Part::kPrev) m_model->FList->SelectPrevious();
        if (pressed == Part::kNext) m_model->FList->SelectNext();
      }
      return 0;
    }
    case WM_SETCURSOR: {
      // The parent decides first (the busy cursor of the whole window).
      HWND parent = GetParent(m_hwnd);
      if (parent && SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (LOWORD(lParam) != HTCLIENT) break;
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(m_hwnd, &p);
      const Part part = PartAt(p.x, p.y);
      const bool hand = (part == Part::kList && m_model->FList->HandCursor) || part == Part::kPrev ||
                        part == Part::kNext;
      SetCursor(hand ? win32skin::HandCursor() : LoadCursor(nullptr, IDC_ARROW));
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
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    default:
      break;
  }
  return DefWindowProcA(m_hwnd, msg, wParam, lParam);
}

POINT NavigateWindow::ListOrigin() const {
  const graphics::Rect box = m_model->FScrollBox.bounds;
  const graphics::Rect list = m_model->FList->Bounds();
  return POINT{box.left + list.left, box.top + list.top};
}

NavigateWindow::Part NavigateWindow::PartAt(int x, int y) const {
  const TKelvaNavigate& nav = *m_model;
  const auto in = [x, y](const NavigateChild& c) { return c.visible && c.bounds.Contains(x, y); };
  if (in(nav.FScrollBox)) {
    const POINT origin = ListOrigin();
    const graphics::Rect list = nav.FList->Bounds();
    return graphics::RectAt(0, 0, list.width(), list.height()).Contains(x - origin.x, y - origin.y) ? Part::kList
                                                                                                    : Part::kScrollBox;
  }
  if (in(nav.FUpButton) && nav.FUpButton.enabled) return Part::kUp;
  if (in(nav.FDownButton) && nav.FDownButton.enabled) return Part::kDown;
  if (in(nav.FPrevButton) && nav.FPrevButton.enabled) return Part::kPrev;
  if (in(nav.FNextButton) && nav.FNextButton.enabled) return Part::kNext;
  if (in(nav.FLogo)) return Part::kLogo;
  return Part::kNone;
}

std::string NavigateWindow::HintFor(Part part) const {
  const TKelvaNavigate& nav = *m_model;
  if (part == Part::kList) return nav.ShowHint ? nav.HintText() : std::string();
  const NavigateChild* child = part == Part::kPrev ? &nav.FPrevButton : part == Part::kNext ? &nav.FNextButton : nullptr;
  if (!child) return std::string();
  const bool show = child->parentShowHint ? nav.ShowHint : child->showHint;
  return show ? child->hint : std::string();
}

void NavigateWindow::MouseMove(int x, int y, int shift) {
  if (!m_tracking) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
    m_tracking = TrackMouseEvent(&track) != FALSE;
  }
  TKelvaNavigate& nav = *m_model;
  const Part part = PartAt(x, y);
  if (part != m_hot) {
    if (m_hot == Part::kUp || m_hot == Part::kDown) nav.StopAutoScroll();
    if (m_hot == Part::kList) nav.FList->MouseLeave();
    if (part == Part::kUp) nav.StartAutoScroll(&nav.FUpButton);
    if (part == Part::kDown) nav.StartAutoScroll(&nav.FDownButton);
    m_hot = part;
    InvalidateRect(m_hwnd, nullptr, FALSE);
  }
  const auto relative = [&](const NavigateChild& c) { return POINT{x - c.bounds.left, y - c.bounds.top}; };
  switch (part) {
    case Part::kList: {
      const POINT origin = ListOrigin();
      nav.FList->ListMouseMove(this, shift, x - origin.x, y - origin.y);
      break;
    }
    case Part::kScrollBox: {
      const POINT p = relative(nav.FScrollBox);
      nav.ForwardMouseMove(&nav.FScrollBox, shift, p.x, p.y, /*fromScrollBox=*/true);
      break;
    }
    case Part::kPrev: {
      const POINT p = relative(nav.FPrevButton);
      nav.ForwardChildMouseMove(nav.FPrevButton, &nav.FPrevButton, shift, p.x, p.y);
      break;
    }
    case Part::kNext: {
      const POINT p = relative(nav.FNextButton);
      nav.ForwardChildMouseMove(nav.FNextButton, &nav.FNextButton, shift, p.x, p.y);
      break;
    }
    case Part::kLogo: {
      const POINT p = relative(nav.FLogo);
      nav.ForwardChildMouseMove(nav.FLogo, &nav.FLogo, shift, p.x, p.y);
      break;
    }
    default:
      nav.ForwardMouseMove(nullptr, shift, x, y);
      break;
  }
  const std::string hint = HintFor(part);
  if (hint != m_pendingHint) {
    m_pendingHint = hint;
    win32skin::HideHint();
    KillTimer(m_hwnd, kHintTimer);
    if (!hint.empty()) SetTimer(m_hwnd, kHintTimer, kHintDelay, nullptr);
  }
}

void NavigateWindow::MouseLeft() {
  TKelvaNavigate& nav = *m_model;
  if (m_hot == Part::kUp || m_hot == Part::kDown) nav.StopAutoScroll();
  if (m_hot == Part::kList) nav.FList->MouseLeave();
  m_hot = Part::kNone;
  m_pendingHint.clear();
  KillTimer(m_hwnd, kHintTimer);
  win32skin::HideHint();
  InvalidateRect(m_hwnd, nullptr, FALSE);
}

void NavigateWindow::Click(int x, int y) {
  const POINT origin = ListOrigin();
  m_model->FList->ListMouseDown(x - origin.x, y - origin.y);
}

void NavigateWindow::Repaint() {
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
}

void NavigateWindow::RepaintList(const graphics::Rect& area) {
  if (!m_hwnd) return;
  const POINT origin = ListOrigin();
  RECT r = ToRect(area);
  OffsetRect(&r, origin.x, origin.y);
  InvalidateRect(m_hwnd, &r, FALSE);
}

void NavigateWindow::ChildrenChanged() { Repaint(); }

void NavigateWindow::PointerStateChanged() {
  if (!m_hwnd) return;
  POINT p;
  GetCursorPos(&p);
  if (WindowFromPoint(p) == m_hwnd) SendMessageA(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), HTCLIENT);
  if (m_model && m_model->HintText().empty() && m_hot == Part::kList) {
    m_pendingHint.clear();
    win32skin::HideHint();
  }
}

void NavigateWindow::TimerChanged() {
  if (!m_hwnd) return;
  if (m_model && m_model->RepeatTimerEnabled()) {
    SetTimer(m_hwnd, kRepeatTimer, 100, nullptr);
  } else {
    KillTimer(m_hwnd, kRepeatTimer);
  }
}

void NavigateWindow::PaintNow() {
  if (!m_hwnd) return;
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void NavigateWindow::PaintButton(HDC dc, const NavigateChild& child, HBITMAP glyph, Part part, COLORREF clear) {
  if (!child.visible) return;
  RECT r = ToRect(child.bounds);
  const SIZE size = win32skin::BitmapSize(glyph);
  const bool pressed = m_pressed == part && m_hot == part;
  const int x = r.left + (r.right - r.left - size.cx) / 2 + (pressed ? 1 : 0);
  const int y = r.top + (r.bottom - r.top - size.cy) / 2 + (pressed ? 1 : 0);
  win32skin::DrawBitmap(dc, glyph, x, y, clear, !child.enabled);
  // Flat buttons: an edge only under the pointer.
  if (child.enabled && m_hot == part) DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

void NavigateWindow::Paint(HDC target, const RECT& update) {
  RECT client;
  GetClientRect(m_hwnd, &client);
  HDC dc = CreateCompatibleDC(target);
  const HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
  const HGDIOBJ savedBitmap = SelectObject(dc, buffer);
  const HBRUSH white = CreateSolidBrush(kWhite);
  FillRect(dc, &client, white);
  DeleteObject(white);

  TKelvaNavigate& nav = *m_model;
  PaintButton(dc, nav.FUpButton, m_up, Part::kUp, CLR_INVALID);
  PaintButton(dc, nav.FDownButton, m_down, Part::kDown, CLR_INVALID);
  PaintButton(dc, nav.FPrevButton, m_prev, Part::kPrev, kWhite);
  PaintButton(dc, nav.FNextButton, m_next, Part::kNext, kWhite);
  if (nav.FBracketLeft.visible) {
    win32skin::DrawBitmap(dc, m_bracketLeft, nav.FBracketLeft.bounds.left, nav.FBracketLeft.bounds.top, kWhite);
  }
  if (nav.FBracketRight.visible) {
    win32skin::DrawBitmap(dc, m_bracketRight, nav.FBracketRight.bounds.left, nav.FBracketRight.bounds.top, kWhite);
  }
  if (nav.FLogo.visible) {
    win32skin::DrawBitmap(dc, m_logo, nav.FLogo.bounds.left, nav.FLogo.bounds.top, CLR_INVALID);
  }
  if (nav.FScrollBox.visible) {
    // The list, clipped by its scroll box, in its own coordinates.
    const RECT box = ToRect(nav.FScrollBox.bounds);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    const POINT origin = ListOrigin();
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    const graphics::Rect list = nav.FList->Bounds();
    graphics::Rect clip{std::max(box.left, update.left) - origin.x, std::max(box.top, update.top) - origin.y,
                        std::min(box.right, update.right) - origin.x, std::min(box.bottom, update.bottom) - origin.y};
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, list.width());
    clip.bottom = std::min(clip.bottom, list.height());
    if (clip.right > clip.left && clip.bottom > clip.top) {
      GdiCanvas canvas(dc, m_font);
      nav.Paint(canvas, clip);
    }
    RestoreDC(dc, saved);
  }
  BitBlt(target, update.left, update.top, update.right - update.left, update.bottom - update.top, dc, update.left,
         update.top, SRCCOPY);
  SelectObject(dc, savedBitmap);
  DeleteObject(buffer);
  DeleteDC(dc);
}
