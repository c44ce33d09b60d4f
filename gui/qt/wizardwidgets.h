#pragma once

#include <QWidget>

class TKCProgress;

// The title banner: black, white text with a sunken effect of depth 3.
class BannerLabel : public QWidget {
  Q_OBJECT
 public:
  explicit BannerLabel(QWidget* parent);
  void setText(const QString& text);
  QString text() const { return m_text; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_text;
};

// The copy page's meter: the model draws it on the widget's canvas.
class MeterWidget : public QWidget {
  Q_OBJECT
 public:
  MeterWidget(QWidget* parent, const TKCProgress& meter);
  int Percent() const;
  // Draws the meter at once and tells screen readers of a new value.
  void Changed();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const TKCProgress& m_meter;
  int m_announced = -1;
};
