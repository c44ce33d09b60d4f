#pragma once

#include <windows.h>
// The canvas has a TextOut of its own.
#undef TextOut

#include "graphics/canvas.h"
#include "gui/win32/dpi.h"

// The Canvas on a GDI device context, for the Win32 skin's custom-drawn
// controls (side-bar, meter, banner). The caller owns the context and the
// font; the canvas makes a bold copy when asked and restores the context's
// objects when it goes away. Drawing is in units of 1/96 inch, turned into
// pixels at dpi; the font is made for that dpi already.
class GdiCanvas : public graphics::Canvas {
 public:
  GdiCanvas(HDC dc, HFONT font, win32skin::Dpi dpi = win32skin::Dpi());
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  graphics::Color SystemColorOf(graphics::SystemColor which) const override;
  void SetBrushColor(graphics::Color color) override { m_brush = ToColorRef(color); }
  void SetPenColor(graphics::Color color) override { m_pen = ToColorRef(color); }
  void SetFontColor(graphics::Color color) override { m_text = ToColorRef(color); }
  void SetFontBold(bool bold) override;
  void FillRect(const graphics::Rect& rect) override;
  void Polyline(const std::vector<graphics::Point>& points) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  void TextRect(const graphics::Rect& rect, const std::string& text, graphics::Align align) override;
  // The canvas's clip replaces the context's clipping region.
  void SetClip(const graphics::Rect& clip) override;
  void ClearClip() override;
  // Pictures are the program's bitmap resources by name.
  void DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) override;

  // Another font and scale for the same context (a window moved to a
  // screen of another scale).
  void SetScale(HFONT font, win32skin::Dpi dpi);

  static COLORREF ToColorRef(graphics::Color c) { return RGB(c.r, c.g, c.b); }

 private:
  HDC m_dc;
  HFONT m_font;
  win32skin::Dpi m_dpi;
  HFONT m_boldFont = nullptr;
  HGDIOBJ m_savedFont;
  COLORREF m_brush = RGB(255, 255, 255);
  COLORREF m_pen = RGB(0, 0, 0);
  COLORREF m_text = RGB(0, 0, 0);
};
