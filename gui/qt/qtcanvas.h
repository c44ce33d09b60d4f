#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>

#include "graphics/canvas.h"

class QPainter;

// The Canvas on a QPainter. Without a painter it only measures, with the
// metrics of the font given. A clip of the canvas replaces the painter's own
// clip; the widget's update region still applies.
class QtCanvas : public graphics::Canvas {
 public:
  QtCanvas(QPainter* painter, const QFont& font, const QPalette& palette);

  graphics::Color SystemColorOf(graphics::SystemColor which) const override;
  void SetBrushColor(graphics::Color color) override { m_brush = ToQColor(color); }
  void SetPenColor(graphics::Color color) override { m_pen = ToQColor(color); }
  void SetFontColor(graphics::Color color) override { m_text = ToQColor(color); }
  void SetFontBold(bool bold) override;
  void FillRect(const graphics::Rect& rect) override;
  void Polyline(const std::vector<graphics::Point>& points) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  void TextRect(const graphics::Rect& rect, const std::string& text, graphics::Align align) override;
  void SetClip(const graphics::Rect& clip) override;
  void ClearClip() override;
  // Pictures are the XPM files of the resources (":/resources/ar_top.xpm"
  // for "AR_TOP"); a disabled one looks as the style shows disabled icons.
  void DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) override;

  static QColor ToQColor(graphics::Color color) { return QColor(color.r, color.g, color.b); }
  static graphics::Color FromQColor(const QColor& color);

 private:
  QPainter* m_painter;
  QFont m_font;
  QPalette m_palette;
  QColor m_brush;
  QColor m_pen;
  QColor m_text;
};

// Display text of the program's UTF-8 text (bytes that are not valid UTF-8,
// such as a Linux file name in another encoding, read as Windows-1252).
QString DisplayText(const std::string& text);
