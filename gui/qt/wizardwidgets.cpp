#include "gui/qt/wizardwidgets.h"

#include <QPainter>

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
  QPainter painter(this);
  QtCanvas canvas(&painter, font(), palette());
  m_meter.Paint(canvas, width(), height());
}
