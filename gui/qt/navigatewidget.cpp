#include "gui/qt/navigatewidget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "gui/qt/navigateaccessible.h"
#include "gui/qt/qtsupport.h"
#include "setup/layout.h"

QCursor NavigateWidget::NavigateHandCursor() {
  static const QCursor cursor(QPixmap(QStringLiteral(":/resources/crsrhand.xpm")), 6, 1);
  return cursor;
}

NavigateWidget::NavigateWidget(QWidget* parent) : QWidget(parent) {
  InstallNavigateAccessibility();
  setObjectName(QStringLiteral("KelvaNavigate1"));
  setAutoFillBackground(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);  // a tab stop after the page, as the table orders it
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kSideBarFontPixels);
  setFont(font);
  m_measure = std::make_unique<QtCanvas>(nullptr, font, palette());

  m_repeat.setInterval(TKelvaNavigate::kRepeatInterval);
  connect(&m_repeat, &QTimer::timeout, this, [this] {
    if (m_model) m_model->RepeatTimerTick();
  });
  setFixedWidth(TKelvaNavigate::kWidth);
}

NavigateWidget::~NavigateWidget() { m_repeat.stop(); }

void NavigateWidget::SetModel(TKelvaNavigate* model) {
  m_model = model;
  m_announcedIndex = 0;
  if (!model) {
    m_repeat.stop();
    update();
    return;
  }
  setMinimumHeight(model->MinHeight());
  model->SetBounds(TKelvaNavigate::kWidth, std::max(height(), model->MinHeight()));
  model->Loaded();
  update();
}

void NavigateWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!m_model) return;
  QtCanvas canvas(&painter, font(), palette());
  const QRect r = event->rect();
  m_model->Paint(canvas, graphics::Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

void NavigateWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_model) m_model->SetBounds(width(), height());
}

void NavigateWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && m_measure) {
    m_measure = std::make_unique<QtCanvas>(nullptr, font(), palette());
    if (m_model) m_model->FontChanged();
  }
}

void NavigateWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (!m_model) return;
  m_model->SetFocused(true);
  NotifyCurrentStepChanged(this, m_model->ItemIndex());  // the focus lies on the current step
}

void NavigateWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (m_model) m_model->SetFocused(false);
}

void NavigateWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (m_model) m_model->MouseDown(p.x(), p.y(), event->button() == Qt::LeftButton);
}

void NavigateWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (m_model && event->button() == Qt::LeftButton) m_model->MouseUp(p.x(), p.y());
}

void NavigateWidget::mouseMoveEvent(QMouseEvent* event) {
  m_pointer = event->position().toPoint();
  if (m_model) m_model->MouseMove(m_pointer.x(), m_pointer.y(), static_cast<int>(event->modifiers()));
  PointerStateChanged();
}

void NavigateWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  m_pointer = QPoint(-1, -1);
  if (m_model) m_model->MouseLeave();
  PointerStateChanged();
}

bool NavigateWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && m_model) {
    const auto* help = static_cast<QHelpEvent*>(event);
    m_hint = m_model->HintAt(help->pos().x(), help->pos().y());
    ShowHint(help->globalPos(), DisplayText(m_hint), this);
    return true;
  }
  return QWidget::event(event);
}

void NavigateWidget::Repaint() {
  if (!m_model) return;
  if (m_model->ItemIndex() != m_announcedIndex) {
    m_announcedIndex = m_model->ItemIndex();
    NotifyCurrentStepChanged(this, m_announcedIndex);
  }
  update();
}

void NavigateWidget::RepaintRect(const graphics::Rect& area) {
  update(QRect(area.left, area.top, area.width(), area.height()));
}

void NavigateWidget::PointerStateChanged() {
  if (!m_model) return;
  if (m_model->HandCursorAt(m_pointer.x(), m_pointer.y())) {
    setCursor(NavigateHandCursor());
  } else {
    unsetCursor();
  }
  // A hint belongs to the part it was asked for.
  const std::string hint = m_model->HintAt(m_pointer.x(), m_pointer.y());
  if (hint != m_hint) {
    m_hint = hint;
    QToolTip::hideText();
  }
}

void NavigateWidget::TimerChanged() {
  if (m_model && m_model->RepeatTimerEnabled()) {
    m_repeat.start();
  } else {
    m_repeat.stop();
  }
}
