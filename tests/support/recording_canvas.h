#pragma once

#include <string>
#include <vector>

#include "graphics/canvas.h"

// A canvas that measures every character as the same width (an ampersand
// marks a mnemonic and is not measured) and records what is drawn, one line
// per call: "fill 0,2-143,4 #d4d0c8", "line 39,1 35,1 35,23 39,23 #000000",
// "text 42,6 bold #000000 on #ffffff: Caption", "textrect 3,3-303,18 center
// #ffffff: 50%", "clip 3,3-153,18", "noclip", "picture AR_LEFT 42,376",
// "picture AR_RIGHT 96,376 disabled".
class RecordingCanvas : public graphics::Canvas {
 public:
  explicit RecordingCanvas(int charWidth = 6) : m_charWidth(charWidth) {}

  graphics::Color SystemColorOf(graphics::SystemColor which) const override;
  void SetBrushColor(graphics::Color c) override { m_brush = c; }
  void SetPenColor(graphics::Color c) override { m_pen = c; }
  void SetFontColor(graphics::Color c) override { m_font = c; }
  void SetFontBold(bool bold) override { m_bold = bold; }
  void FillRect(const graphics::Rect& r) override;
  void Polyline(const std::vector<graphics::Point>& points) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  void TextRect(const graphics::Rect& r, const std::string& text, graphics::Align align) override;
  void SetClip(const graphics::Rect& r) override { calls.push_back("clip " + Corners(r)); }
  void ClearClip() override { calls.push_back("noclip"); }
  void DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) override;

  static std::string Hex(graphics::Color c);
  static std::string Corners(const graphics::Rect& r);

  std::vector<std::string> calls;

 private:
  int m_charWidth;
  graphics::Color m_brush;
  graphics::Color m_pen;
  graphics::Color m_font;
  bool m_bold = false;
};
