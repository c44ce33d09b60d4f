#include "gui/qt/wizardwidgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPainter>

#include "gui/qt/qtcanvas.h"
#include "setup/meter.h"

namespace {

// The banner as a screen reader sees it: a heading-like static text whose
// name is its text.
class BannerAccessible : public QAccessibleWidget {
 public:
  explicit BannerAccessible(BannerLabel* banner) : QAccessibleWidget(banner, QAccessible::StaticText) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<BannerLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
  }
};

// The meter as a progress bar from 0 to 100 per cent.
class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit MeterAccessible(MeterWidget* meter) : QAccessibleWidget(meter, QAccessible::ProgressBar) {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Meter()->Percent()) + QLatin1Char('%');
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return Meter()->Percent(); }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 100; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  MeterWidget* Meter() const { return static_cast<MeterWidget*>(widget()); }
};

// A read-only field (the target paths): text a screen reader reads and the
// user may select, but not editable.
class ReadOnlyFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadOnlyFieldAccessible(QLineEdit* field) : QAccessibleWidget(field, QAccessible::EditableText) {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.editable = false;
    s.selectableText = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Field()->text();
    return QAccessibleWidget::text(t);
  }

  void selection(int, int* startOffset, int* endOffset) const override {
    *startOffset = Field()->selectionStart();
    *endOffset = *startOffset + static_cast<int>(Field()->selectedText().size());
  }
  int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int) override { Field()->deselect(); }
  void setSelection(int, int startOffset, int endOffset) override {
    Field()->setSelection(startOffset, endOffset - startOffset);
  }
  int cursorPosition() const override { return Field()->cursorPosition(); }
  void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
  QString text(int startOffset, int endOffset) const override {
    return Field()->text().mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(Field()->text().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
  }

 private:
  QLineEdit* Field() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("QLineEdit") && static_cast<QLineEdit*>(object)->isReadOnly()) {
    return new ReadOnlyFieldAccessible(static_cast<QLineEdit*>(object));
  }
  // The wizard's window is a frame, as a screen reader expects a window to be.
  if (className == QLatin1String("MainWindow"))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
  if (className == QLatin1String("BannerLabel")) return new BannerAccessible(static_cast<BannerLabel*>(object));
  if (className == QLatin1String("MeterWidget")) return new MeterAccessible(static_cast<MeterWidget*>(object));
  return nullptr;
}

void InstallFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace

BannerLabel::BannerLabel(QWidget* parent) : QWidget(parent) { InstallFactory(); }

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

MeterWidget::MeterWidget(QWidget* parent, const TKCProgress& meter) : QWidget(parent), m_meter(meter) {
  InstallFactory();
}

int MeterWidget::Percent() const { return m_meter.Percent(); }

void MeterWidget::Changed() {
  repaint();
  if (m_meter.Percent() == m_announced) return;
  m_announced = m_meter.Percent();
  if (!QAccessible::isActive()) return;
  QAccessibleValueChangeEvent event(this, m_announced);
  QAccessible::updateAccessibility(&event);
}

void MeterWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(&painter, font(), palette());
  m_meter.Paint(canvas, width(), height());
}
