#include "tests/support/recording_canvas.h"

#include <cstdio>

graphics::Color RecordingCanvas::SystemColorOf(graphics::SystemColor which) const {
  return which == graphics::SystemColor::kWindow ? graphics::kWhite : graphics::Color{212, 208, 200};
}

std::string RecordingCanvas::Hex(graphics::Color c) {
  char text[8];
  std::snprintf(text, sizeof(text), "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

std::string RecordingCanvas::Corners(const graphics::Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

void RecordingCanvas::FillRect(const graphics::Rect& r) { calls.push_back("fill " + Corners(r) + " " + Hex(m_brush)); }

void RecordingCanvas::Polyline(const std::vector<graphics::Point>& points) {
  std::string line = "line";
  for (const graphics::Point& p : points) line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
  calls.push_back(line + " " + Hex(m_pen));
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + (m_bold ? " bold " : " normal ") +
                  Hex(m_font) + " on " + Hex(m_brush) + ": " + text);
}

int RecordingCanvas::TextWidth(const std::string& text) {
  if (text.empty()) return m_charWidth;
  int count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // the mnemonic marker is not measured
    ++count;
  }
  return count * m_charWidth;
}

void RecordingCanvas::TextRect(const graphics::Rect& r, const std::string& text, graphics::Align align) {
  calls.push_back("textrect " + Corners(r) + (align == graphics::Align::kCenter ? " center " : " left ") + Hex(m_font) +
                  (m_bold ? " bold" : "") + ": " + text);
}

void RecordingCanvas::DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) {
  calls.push_back(std::string("picture ") + picture.name + " " + std::to_string(x) + "," + std::to_string(y) +
                  (disabled ? " disabled" : ""));
}
