#pragma once

#include "graphics/canvas.h"

namespace graphics {

// Draws on another canvas with the origin moved to (dx, dy) of it, so a part
// can paint in its own coordinates (the side-bar's list inside its box).
class OffsetCanvas : public Canvas {
 public:
  OffsetCanvas(Canvas& target, int dx, int dy) : m_target(target), m_dx(dx), m_dy(dy) {}

  Color SystemColorOf(SystemColor which) const override { return m_target.SystemColorOf(which); }
  void SetBrushColor(Color color) override { m_target.SetBrushColor(color); }
  void SetPenColor(Color color) override { m_target.SetPenColor(color); }
  void SetFontColor(Color color) override { m_target.SetFontColor(color); }
  void SetFontBold(bool bold) override { m_target.SetFontBold(bold); }
  void FillRect(const Rect& rect) override { m_target.FillRect(Moved(rect)); }
  void Polyline(const std::vector<Point>& points) override {
    std::vector<Point> moved = points;
    for (Point& p : moved) p = Point{p.x + m_dx, p.y + m_dy};
    m_target.Polyline(moved);
  }
  void TextOut(int x, int y, const std::string& text) override { m_target.TextOut(x + m_dx, y + m_dy, text); }
  int TextWidth(const std::string& text) override { return m_target.TextWidth(text); }
  void TextRect(const Rect& rect, const std::string& text, Align align) override {
    m_target.TextRect(Moved(rect), text, align);
  }
  void SetClip(const Rect& clip) override { m_target.SetClip(Moved(clip)); }
  void ClearClip() override { m_target.ClearClip(); }
  void DrawPicture(int x, int y, const Picture& picture, bool disabled) override {
    m_target.DrawPicture(x + m_dx, y + m_dy, picture, disabled);
  }

 private:
  Rect Moved(const Rect& r) const { return Rect{r.left + m_dx, r.top + m_dy, r.right + m_dx, r.bottom + m_dy}; }

  Canvas& m_target;
  int m_dx;
  int m_dy;
};

}  // namespace graphics
