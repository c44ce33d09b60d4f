#pragma once

#include <windows.h>
// The canvas has a TextOut of its own.
#undef TextOut

#include <functional>
#include <string>

#include "install/eventloop.h"
#include "platform/win32/wide.h"
#include "stools/stools.h"

namespace win32skin {

// The object behind a window of one of the skin's classes: given as the
// creation parameter, kept in the window's user data from WM_NCCREATE on.
template <typename T>
T* WindowObject(HWND hwnd, UINT msg, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The program's instance: resources are loaded from it.
HINSTANCE Instance();

// Text as the skin hands it to the wide calls: UTF-8 (bytes that are not
// valid UTF-8 read as Windows-1252) to UTF-16.
using platform::win32::Utf8;
using platform::win32::Wide;

// A window's text as the system keeps it.
std::wstring WindowText(HWND hwnd);

// A font of the given character height in pixels (owned by the caller).
HFONT MakeFont(const wchar_t* face, int pixels, bool bold = false);

// A bitmap resource by name, or nullptr.
HBITMAP LoadBitmapResource(const char* name);
// The same, loaded once and kept for the program's life (the custom-drawn
// controls' pictures).
HBITMAP CachedBitmap(const char* name);
SIZE BitmapSize(HBITMAP bitmap);
// The colour of a bitmap's bottom-left pixel.
COLORREF BottomLeftColour(HBITMAP bitmap);

// Paints a window through an off-screen bitmap of its client area, white
// at first, and copies the update rectangle to the target in one step.
void PaintBuffered(HWND hwnd, HDC target, const RECT& update, const std::function<void(HDC)>& paint);

// The hand cursor (CRSRHAND, hot spot 6,1).
HCURSOR HandCursor();

// Hints: every hint of the program appears 10 pixels right of and 18 below
// the pointer, on aqua.
void ShowHint(POINT cursor, const std::string& text);
void HideHint();
bool HintVisible();
// The hint's window (nullptr until the first hint).
HWND HintWindow();

// ShowMsgBox as MessageBoxW owned by the application window: the window is
// disabled while the box is open.
class MessageBoxPresenter : public MessagePresenter {
 public:
  void SetOwner(HWND owner) { m_owner = owner; }
  int32_t Show(const char* Text, const char* Caption, int32_t Flags) override;

 private:
  HWND m_owner = nullptr;
};

// Handles a message before it is dispatched (key preview, dialog keys);
// true when it was handled.
using PreTranslate = std::function<bool(MSG&)>;

// The Win32 message loop as the engine sees it.
class Win32EventLoop : public EventLoop {
 public:
  Win32EventLoop();
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  void ProcessMessages() override;
  // True once the quit message came.
  bool Terminating() override;
  void Synchronize(const std::function<void()>& call) override;

  // The loop of the program: returns the exit code of WM_QUIT.
  int Run();
  // Runs until done() holds or the program quits (a modal window's loop).
  void RunUntil(const std::function<bool()>& done);

  void SetPreTranslate(PreTranslate preTranslate) { m_preTranslate = std::move(preTranslate); }
  bool QuitSeen() const { return m_quit; }

 private:
  void Dispatch(MSG& msg);

  PreTranslate m_preTranslate;
  HWND m_syncWindow = nullptr;
  DWORD m_thread;
  bool m_quit = false;
  int m_exitCode = 0;
};

}  // namespace win32skin
