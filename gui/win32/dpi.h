#pragma once

#include <windows.h>

#include "graphics/canvas.h"

// The Win32 skin lays out and draws in units of 1/96 inch, as the layout
// tables give them; a window turns them into its screen's pixels here. At 96
// dots per inch a unit is a pixel.
namespace win32skin {

constexpr int kBaseDpi = 96;

class Dpi {
 public:
  explicit Dpi(int dpi = kBaseDpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}
  int value() const { return m_dpi; }
  bool scaled() const { return m_dpi != kBaseDpi; }
  // Units to pixels and back, rounded to the nearest.
  int Px(int units) const { return MulDiv(units, m_dpi, kBaseDpi); }
  int Units(int px) const { return MulDiv(px, kBaseDpi, m_dpi); }
  // A character height: rounded down, so that text never outgrows the
  // controls scaled round it (a font does not scale quite evenly).
  int FontPx(int units) const { return units * m_dpi / kBaseDpi; }
  // Each edge on its own, so that rectangles which touch still touch.
  RECT Px(const graphics::Rect& r) const { return RECT{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
  // The units that cover a rectangle of pixels (rounded outwards).
  graphics::Rect Covering(const RECT& r) const;

 private:
  int m_dpi;
};

// The dots per inch of the screen a window is on (of the system before the
// window exists or where the system cannot tell per window).
int WindowDpi(HWND hwnd);

// The scale a custom-drawn window paints at: set by its owner when the
// window is made and whenever its screen changes; until then WindowDpi.
void SetDrawingDpi(HWND hwnd, const Dpi& dpi);
Dpi DrawingDpi(HWND hwnd);

// A bitmap drawn at dpi: pixels of the colour `clear` stay transparent
// unless it is CLR_INVALID. At 96 dots per inch the bitmap is copied as it
// is; else a smoothly scaled copy, made once per bitmap and size, is blended.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF clear, bool disabled = false, const Dpi& dpi = Dpi());

}  // namespace win32skin
