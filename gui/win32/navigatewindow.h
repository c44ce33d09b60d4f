#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gui/win32/dpi.h"
#include "gui/win32/gdicanvas.h"
#include "navigate/navigate.h"

// The navigation side-bar as one Win32 window: it shows a TKelvaNavigate
// model (the wizard's), which draws every part on a GDI canvas, double-buffered; the
// pointer, the buttons and the timers go to the model. Hints appear when the
// pointer rests. The model works in units of 1/96 inch; the window scales
// them to its screen.
class NavigateWindow final : private NavigateHost {
 public:
  NavigateWindow(HWND parent, int id, const graphics::Rect& bounds, win32skin::Dpi dpi);
  ~NavigateWindow() override;
  NavigateWindow(const NavigateWindow&) = delete;
  NavigateWindow& operator=(const NavigateWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  // The host the model is made with.
  NavigateHost& Host() { return *this; }
  // From now on the window shows model and sends it the pointer (nullptr:
  // the model is going).
  void SetModel(TKelvaNavigate* model);
  TKelvaNavigate& Model() { return *m_model; }
  // Paints at once, outside the message loop.
  void PaintNow();
  // The screen's scale changed: the font and the picture follow.
  void SetDpi(win32skin::Dpi dpi);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  void Repaint() override;
  void RepaintRect(const graphics::Rect& area) override;
  void PointerStateChanged() override;
  void TimerChanged() override;
  graphics::Canvas* MeasureCanvas() override { return m_measure.get(); }

  void MouseMove(int x, int y, int shift);
  void MouseLeft();
  void Press(LPARAM at, bool primary);
  void ForgetHint();

  HWND m_hwnd = nullptr;
  win32skin::Dpi m_dpi;
  HFONT m_font = nullptr;
  HDC m_measureDc = nullptr;
  std::unique_ptr<GdiCanvas> m_measure;
  TKelvaNavigate* m_model = nullptr;
  bool m_tracking = false;
  std::string m_pendingHint;
  int m_announced = 0;        // the step screen readers were last told of
  int m_focusAnnounced = -1;  // the step they were told has the focus
};
