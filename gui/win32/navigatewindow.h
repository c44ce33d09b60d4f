#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gui/win32/gdicanvas.h"
#include "navigate/navigate.h"

// The navigation side-bar as one Win32 window: it hosts the TKelvaNavigate
// model and draws every child the model describes (scroll arrows, the step
// list clipped by its scroll box, brackets, previous/next buttons, logo)
// with GDI, double-buffered; the pointer and clicks go to the model.
class NavigateWindow final : private NavigateHost {
 public:
  NavigateWindow(HWND parent, int id, const RECT& bounds);
  ~NavigateWindow() override;
  NavigateWindow(const NavigateWindow&) = delete;
  NavigateWindow& operator=(const NavigateWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  TKelvaNavigate& Model() { return *m_model; }
  // Paints at once, outside the message loop.
  void PaintNow();

 private:
  enum class Part { kNone, kList, kScrollBox, kUp, kDown, kPrev, kNext, kLogo };

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  void Repaint() override;
  void RepaintList(const graphics::Rect& area) override;
  void ChildrenChanged() override;
  void PointerStateChanged() override;
  void TimerChanged() override;
  graphics::Canvas* MeasureCanvas() override { return m_measure.get(); }

  void Paint(HDC dc, const RECT& update);
  void PaintButton(HDC dc, const NavigateChild& child, HBITMAP glyph, Part part, COLORREF clear);
  Part PartAt(int x, int y) const;
  POINT ListOrigin() const;
  std::string HintFor(Part part) const;
  void MouseMove(int x, int y, int shift);
  void MouseLeft();
  void Click(int x, int y);

  HWND m_hwnd = nullptr;
  HFONT m_font = nullptr;
  HDC m_measureDc = nullptr;
  std::unique_ptr<GdiCanvas> m_measure;
  std::unique_ptr<TKelvaNavigate> m_model;
  HBITMAP m_up = nullptr, m_down = nullptr, m_prev = nullptr, m_next = nullptr;
  HBITMAP m_bracketLeft = nullptr, m_bracketRight = nullptr, m_logo = nullptr;
  Part m_hot = Part::kNone;
  Part m_pressed = Part::kNone;
  bool m_tracking = false;
  std::string m_pendingHint;
};
