#include "gui/win32/win32support.h"

#include <algorithm>
#include <map>

#include "gui/win32/dpi.h"
#include "setup/mainform.h"

namespace win32skin {

namespace {

constexpr UINT kSynchronizeMessage = WM_APP + 1;
constexpr COLORREF kHintColour = RGB(0, 255, 255);  // aqua

struct Hint {
  HWND window = nullptr;
  HFONT font = nullptr;
  std::wstring text;
};

Hint& TheHint() {
  static Hint hint;
  return hint;
}

LRESULT CALLBACK HintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    const HBRUSH brush = CreateSolidBrush(kHintColour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    const HGDIOBJ saved = SelectObject(dc, TheHint().font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    InflateRect(&r, -2, -1);
    DrawTextW(dc, TheHint().text.c_str(), static_cast<int>(TheHint().text.size()), &r, DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, saved);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SyncProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kSynchronizeMessage) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// DEFAULT_CHARSET: the face is chosen for its name alone, not for a code
// page, so text beyond Western European letters finds its characters.
HFONT MakeFont(const wchar_t* face, int pixels, bool bold) {
  return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

HBITMAP LoadBitmapResource(const char* name) {
  return static_cast<HBITMAP>(LoadImageW(Instance(), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

HBITMAP CachedBitmap(const char* name) {
  static std::map<std::string, HBITMAP> cache;
  const auto found = cache.find(name);
  if (found != cache.end()) return found->second;
  return cache[name] = LoadBitmapResource(name);
}

void PaintBuffered(HWND hwnd, HDC target, const RECT& update, const std::function<void(HDC)>& paint) {
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = CreateCompatibleDC(target);
  const HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
  const HGDIOBJ savedBitmap = SelectObject(dc, buffer);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  paint(dc);
  BitBlt(target, update.left, update.top, update.right - update.left, update.bottom - update.top, dc, update.left,
         update.top, SRCCOPY);
  SelectObject(dc, savedBitmap);
  DeleteObject(buffer);
  DeleteDC(dc);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

COLORREF BottomLeftColour(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cy == 0) return CLR_INVALID;
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ saved = SelectObject(dc, bitmap);
  const COLORREF c = GetPixel(dc, 0, size.cy - 1);
  SelectObject(dc, saved);
  DeleteDC(dc);
  return c;
}

HCURSOR HandCursor() {
  static const HCURSOR cursor = [] {
    const HCURSOR own = LoadCursorW(Instance(), L"CRSRHAND");
    return own ? own : LoadCursor(nullptr, IDC_HAND);
  }();
  return cursor;
}

void ShowHint(POINT cursor, const std::string& text) {
  Hint& hint = TheHint();
  if (text.empty()) {
    HideHint();
    return;
  }
  if (!hint.window) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HintProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SetupHint";
    RegisterClassW(&wc);
    hint.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    hint.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"SetupHint", L"",
                                  WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr, Instance(), nullptr);
  }
  hint.text = Wide(text);
  HDC dc = GetDC(hint.window);
  const HGDIOBJ saved = SelectObject(dc, hint.font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, hint.text.c_str(), static_cast<int>(hint.text.size()), &r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
  SelectObject(dc, saved);
  ReleaseDC(hint.window, dc);
  // The offset from the pointer grows with the screen's scale, as the pointer does.
  const graphics::Point at = TMainForm::AppShowHint(0, 0);
  const Dpi dpi(WindowDpi(nullptr));
  SetWindowPos(hint.window, HWND_TOPMOST, cursor.x + dpi.Px(at.x), cursor.y + dpi.Px(at.y), r.right + 6, r.bottom + 4,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hint.window, nullptr, TRUE);
}

void HideHint() {
  Hint& hint = TheHint();
  if (hint.window) ShowWindow(hint.window, SW_HIDE);
  hint.text.clear();
}

HWND HintWindow() { return TheHint().window; }

bool HintVisible() { return TheHint().window && IsWindowVisible(TheHint().window); }

int32_t MessageBoxPresenter::Show(const char* Text, const char* Caption, int32_t Flags) {
  HideHint();
  // The application window owns the box; while the chooser is open, the
  // chooser does, so neither can be used until the box is closed.
  HWND owner = GetActiveWindow();
  if (!owner || (owner != m_owner && GetWindow(owner, GW_OWNER) != m_owner)) owner = m_owner;
  if (owner && !IsWindow(owner)) owner = nullptr;
  return MessageBoxW(owner, Wide(Text).c_str(), Wide(Caption).c_str(),
                     static_cast<UINT>(Flags) | (owner ? MB_APPLMODAL : MB_TASKMODAL));
}

Win32EventLoop::Win32EventLoop() : m_thread(GetCurrentThreadId()) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = SyncProc;
  wc.hInstance = Instance();
  wc.lpszClassName = L"SetupSync";
  RegisterClassW(&wc);
  m_syncWindow = CreateWindowExW(0, L"SetupSync", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance(), nullptr);
}

Win32EventLoop::~Win32EventLoop() {
  if (m_syncWindow) DestroyWindow(m_syncWindow);
}

void Win32EventLoop::Dispatch(MSG& msg) {
  if (m_preTranslate && m_preTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32EventLoop::ProcessMessages() {
  MSG msg;
  while (!m_quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_quit = true;
      m_exitCode = static_cast<int>(msg.wParam);
      break;
    }
    Dispatch(msg);
  }
}

bool Win32EventLoop::Terminating() { return m_quit; }

void Win32EventLoop::Synchronize(const std::function<void()>& call) {
  if (GetCurrentThreadId() == m_thread) {
    call();
    return;
  }
  // Returns once the GUI thread ran the call, or at once (without running
  // it) when the window is gone because the program is ending.
  if (m_syncWindow && !m_quit) {
    SendMessageW(m_syncWindow, kSynchronizeMessage, 0, reinterpret_cast<LPARAM>(&call));
  }
}

void Win32EventLoop::RunUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!m_quit && !done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      m_quit = true;
      m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : 1;
      break;
    }
    Dispatch(msg);
  }
}

int Win32EventLoop::Run() {
  RunUntil([] { return false; });
  return m_exitCode;
}

}  // namespace win32skin
