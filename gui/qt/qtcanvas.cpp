#include "gui/qt/qtcanvas.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QPolygon>

#include "platform/text/utf8.h"

namespace {

QRect ToQRect(const graphics::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The picture as it is drawn: its transparent colour masked out.
QPixmap LoadPicture(const graphics::Picture& picture) {
  const QString name = QString::fromLatin1(picture.name).toLower();
  QPixmap pixmap;
  if (QPixmapCache::find(QStringLiteral("picture:") + name, &pixmap)) return pixmap;
  pixmap = QPixmap(QStringLiteral(":/resources/") + name + QStringLiteral(".xpm"));
  if (picture.transparent && !pixmap.isNull()) {
    pixmap.setMask(pixmap.createMaskFromColor(QtCanvas::ToQColor(picture.transparentColor), Qt::MaskInColor));
  }
  QPixmapCache::insert(QStringLiteral("picture:") + name, pixmap);
  return pixmap;
}

}  // namespace

QtCanvas::QtCanvas(QPainter* painter, const QFont& font, const QPalette& palette)
    : m_painter(painter), m_font(font), m_palette(palette) {}

graphics::Color QtCanvas::SystemColorOf(graphics::SystemColor which) const {
  return FromQColor(which == graphics::SystemColor::kWindow ? m_palette.color(QPalette::Base)
                                                            : m_palette.color(QPalette::Button));
}

graphics::Color QtCanvas::FromQColor(const QColor& color) {
  return graphics::Color{static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                         static_cast<uint8_t>(color.blue())};
}

void QtCanvas::SetFontBold(bool bold) { m_font.setBold(bold); }

void QtCanvas::FillRect(const graphics::Rect& rect) {
  if (!m_painter || rect.width() <= 0 || rect.height() <= 0) return;
  m_painter->fillRect(ToQRect(rect), m_brush);
}

void QtCanvas::Polyline(const std::vector<graphics::Point>& points) {
  if (!m_painter || points.size() < 2) return;
  // The last point is not drawn: end the final segment one pixel short.
  QPolygon polygon;
  for (const graphics::Point& p : points) polygon << QPoint(p.x, p.y);
  QPoint& last = polygon.last();
  const QPoint& before = polygon[polygon.size() - 2];
  last += QPoint(before.x() < last.x()   ? -1
                 : before.x() > last.x() ? 1
                                         : 0,
                 before.y() < last.y()   ? -1
                 : before.y() > last.y() ? 1
                                         : 0);
  m_painter->save();
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setPen(QPen(m_pen, 1));
  m_painter->drawPolyline(polygon);
  m_painter->restore();
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  if (!m_painter) return;
  const QString shown = DisplayText(text);
  const QFontMetrics metrics(m_font);
  m_painter->save();
  m_painter->setFont(m_font);
  m_painter->fillRect(QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()), m_brush);
  m_painter->setPen(m_text);
  m_painter->drawText(QPoint(x, y + metrics.ascent()), shown);
  m_painter->restore();
}

int QtCanvas::TextWidth(const std::string& text) {
  QString shown = DisplayText(text.empty() ? std::string(" ") : text);
  // An ampersand marks a mnemonic and is not measured; "&&" is one "&".
  QString measured;
  for (int i = 0; i < shown.size(); ++i) {
    if (shown[i] == QLatin1Char('&') && i + 1 < shown.size()) ++i;
    measured += shown[i];
  }
  measured.replace(QLatin1Char('\t'), QStringLiteral("        "));
  QFont font = m_font;
  font.setBold(false);
  return QFontMetrics(font).horizontalAdvance(measured);
}

void QtCanvas::TextRect(const graphics::Rect& rect, const std::string& text, graphics::Align align) {
  if (!m_painter) return;
  const int across = align == graphics::Align::kCenter ? Qt::AlignHCenter : Qt::AlignLeft;
  m_painter->save();
  m_painter->setFont(m_font);
  m_painter->setPen(m_text);
  m_painter->drawText(ToQRect(rect), across | Qt::AlignVCenter | Qt::TextSingleLine, DisplayText(text));
  m_painter->restore();
}

void QtCanvas::SetClip(const graphics::Rect& clip) {
  if (m_painter) m_painter->setClipRect(ToQRect(clip), Qt::ReplaceClip);
}

void QtCanvas::ClearClip() {
  if (m_painter) m_painter->setClipping(false);
}

void QtCanvas::DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) {
  if (!m_painter) return;
  const QPixmap pixmap = LoadPicture(picture);
  m_painter->drawPixmap(x, y, disabled ? QIcon(pixmap).pixmap(pixmap.size(), QIcon::Disabled) : pixmap);
}

QString DisplayText(const std::string& text) { return QString::fromStdU16String(text::ToUtf16(text)); }
