#include "gui/qt/wizardwidgets.h"

#include <QPainter>
#include <QPixmap>

#include "gui/qt/qtcanvas.h"
#include "setup/meter.h"

BannerLabel::BannerLabel(QWidget* parent) : QWidget(parent) {}

void BannerLabel::setText(const QString& text) {
  m_text = text;
  update();
}

void BannerLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setFont(font());
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  painter.setPen(Qt::black);
  painter.drawText(rect().translated(3, 3), flags, m_text);
  painter.setPen(Qt::white);
  painter.drawText(rect(), flags, m_text);
}

MeterWidget::MeterWidget(QWidget* parent, const TKCProgress& meter) : QWidget(parent), m_meter(meter) {}

void MeterWidget::paintEvent(QPaintEvent*) {
  // The bar is prepared off screen and copied in one step.
  QPixmap bar(TKCProgress::kBarWidth, TKCProgress::kBarHeight);
  {
    QPainter p(&bar);
    QtCanvas canvas(&p, font(), palette());
    m_meter.PaintBar(canvas);
    const QString text = QString::fromStdString(m_meter.Text());
    const QRect all(0, 0, TKCProgress::kBarWidth, TKCProgress::kBarHeight);
    const int split = m_meter.SplitX();
    p.setFont(font());
    p.setClipRect(QRect(0, 0, split, TKCProgress::kBarHeight));
    p.setPen(Qt::white);
    p.drawText(all, Qt::AlignCenter, text);
    p.setClipRect(QRect(split, 0, TKCProgress::kBarWidth - split, TKCProgress::kBarHeight));
    p.setPen(QtCanvas::ToQColor(TKCProgress::kNavy));
    p.drawText(all, Qt::AlignCenter, text);
  }
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  // A sunken edge of two pixels, then one pixel of background.
  const QRect r = rect().adjusted(0, 0, -1, -1);
  painter.setPen(QColor(128, 128, 128));
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(QColor(64, 64, 64));
  painter.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
  painter.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
  painter.setPen(QColor(255, 255, 255));
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
  painter.setPen(QColor(212, 208, 200));
  painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
  painter.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
  painter.drawPixmap(3, 3, bar);
}
