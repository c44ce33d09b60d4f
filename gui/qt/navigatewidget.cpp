#include "gui/qt/navigatewidget.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "gui/qt/navigateaccessible.h"
#include "gui/qt/qtsupport.h"

namespace {

QPixmap Resource(const char* name) { return QPixmap(QStringLiteral(":/resources/") + name); }

// A bitmap drawn with white as its transparent colour.
QPixmap WhiteTransparent(const char* name) {
  QPixmap pixmap = Resource(name);
  pixmap.setMask(pixmap.createMaskFromColor(Qt::white, Qt::MaskInColor));
  return pixmap;
}

}  // namespace

FlatGlyphButton::FlatGlyphButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

void FlatGlyphButton::enterEvent(QEnterEvent* event) {
  QToolButton::enterEvent(event);
  emit pointerEntered();
}

void FlatGlyphButton::leaveEvent(QEvent* event) {
  QToolButton::leaveEvent(event);
  emit pointerLeft();
}

QCursor NavigateWidget::NavigateHandCursor() {
  static const QCursor cursor(Resource("crsrhand.xpm"), 6, 1);
  return cursor;
}

NavigateWidget::NavigateWidget(QWidget* parent) : QWidget(parent) {
  InstallNavigateAccessibility();
  setObjectName(QStringLiteral("KelvaNavigate1"));
  setAutoFillBackground(true);
  setMouseTracking(true);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  setFont(font);
  m_measure = std::make_unique<QtCanvas>(nullptr, font, palette());

  m_scrollBox = new QWidget(this);
  m_scrollBox->setObjectName(QStringLiteral("ScrollBox"));
  m_scrollBox->setAutoFillBackground(true);
  m_scrollBox->setMouseTracking(true);
  m_list = new NavListWidget(this, m_scrollBox);
  m_up = new FlatGlyphButton(this);
  m_down = new FlatGlyphButton(this);
  m_prev = new FlatGlyphButton(this);
  m_next = new FlatGlyphButton(this);
  m_up->setObjectName(QStringLiteral("UpButton"));
  m_down->setObjectName(QStringLiteral("DownButton"));
  m_prev->setObjectName(QStringLiteral("PrevButton"));
  m_next->setObjectName(QStringLiteral("NextButton"));
  m_up->setIcon(Resource("ar_top.xpm"));
  m_down->setIcon(Resource("ar_bottom.xpm"));
  m_prev->setIcon(WhiteTransparent("ar_left.xpm"));
  m_next->setIcon(WhiteTransparent("ar_right.xpm"));
  m_up->setIconSize(QSize(11, 6));
  m_down->setIconSize(QSize(11, 6));
  m_prev->setIconSize(QSize(16, 13));
  m_next->setIconSize(QSize(16, 13));
  m_prev->setCursor(NavigateHandCursor());
  m_next->setCursor(NavigateHandCursor());
  m_bracketLeft = new QLabel(this);
  m_bracketRight = new QLabel(this);
  m_bracketLeft->setPixmap(WhiteTransparent("br_left.xpm"));
  m_bracketRight->setPixmap(WhiteTransparent("br_right.xpm"));
  m_logo = new QLabel(this);
  m_logo->setObjectName(QStringLiteral("Logo"));
  m_logo->setPixmap(Resource("kelva15.xpm"));
  for (QWidget* w : {static_cast<QWidget*>(m_prev), static_cast<QWidget*>(m_next),
                     static_cast<QWidget*>(m_logo), m_scrollBox}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }

  m_model = std::make_unique<TKelvaNavigate>(static_cast<NavigateHost*>(this));
  TKelvaNavigate& nav = *m_model;
  connect(m_up, &QToolButton::clicked, this, [this] { m_model->ScrollUp(); });
  connect(m_down, &QToolButton::clicked, this, [this] { m_model->ScrollDown(); });
  connect(m_up, &FlatGlyphButton::pointerEntered, this,
          [this] { m_model->StartAutoScroll(&m_model->FUpButton); });
  connect(m_down, &FlatGlyphButton::pointerEntered, this,
          [this] { m_model->StartAutoScroll(&m_model->FDownButton); });
  connect(m_up, &FlatGlyphButton::pointerLeft, this, [this] { m_model->StopAutoScroll(); });
  connect(m_down, &FlatGlyphButton::pointerLeft, this, [this] { m_model->StopAutoScroll(); });
  connect(m_prev, &QToolButton::clicked, this, [this] { m_model->FList->SelectPrevious(); });
  connect(m_next, &QToolButton::clicked, this, [this] { m_model->FList->SelectNext(); });
  m_repeat.setInterval(100);
  connect(&m_repeat, &QTimer::timeout, this, [this] { m_model->RepeatTimerTick(); });

  setFixedWidth(143);
  setMinimumHeight(nav.FMinHeight);
  nav.SetBounds(143, std::max(height(), nav.FMinHeight));
  nav.Loaded();
  ChildrenChanged();
}

NavigateWidget::~NavigateWidget() {
  m_repeat.stop();
  // The model's host goes away with this widget.
  m_model->SetOnSelect(nullptr);
}

void NavigateWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_model->SetBounds(width(), height());
}

void NavigateWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && m_measure) {
    m_measure = std::make_unique<QtCanvas>(nullptr, font(), palette());
    m_model->FList->FHeights.FCanvas = m_measure.get();
    m_model->FontChanged();
  }
}

bool NavigateWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    const auto* move = static_cast<QMouseEvent*>(event);
    const QPoint p = move->position().toPoint();
    const int shift = static_cast<int>(move->modifiers());
    if (watched == m_prev) m_model->ForwardChildMouseMove(m_model->FPrevButton, m_prev, shift, p.x(), p.y());
    if (watched == m_next) m_model->ForwardChildMouseMove(m_model->FNextButton, m_next, shift, p.x(), p.y());
    if (watched == m_logo) m_model->ForwardChildMouseMove(m_model->FLogo, m_logo, shift, p.x(), p.y());
    if (watched == m_scrollBox) {
      m_model->ForwardMouseMove(m_scrollBox, shift, p.x(), p.y(), /*fromScrollBox=*/true);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void NavigateWidget::Repaint() {
  if (!m_list || !m_model) return;
  if (m_model->ItemIndex() != m_announcedIndex) {
    m_announcedIndex = m_model->ItemIndex();
    NotifyCurrentStepChanged(m_list, m_announcedIndex);
  }
  const graphics::Rect list = m_model->FList->Bounds();
  m_list->setGeometry(list.left, list.top, list.width(), list.height());
  m_list->update();
  update();
}

void NavigateWidget::RepaintList(const graphics::Rect& area) {
  if (m_list) m_list->update(QRect(area.left, area.top, area.width(), area.height()));
}

void NavigateWidget::Place(QWidget* widget, const NavigateChild& child) {
  widget->setGeometry(child.bounds.left, child.bounds.top, child.bounds.width(), child.bounds.height());
  widget->setVisible(child.visible);
  widget->setEnabled(child.enabled);
}

void NavigateWidget::ChildrenChanged() {
  if (!m_model || !m_list) return;
  TKelvaNavigate& nav = *m_model;
  Place(m_scrollBox, nav.FScrollBox);
  Place(m_up, nav.FUpButton);
  Place(m_down, nav.FDownButton);
  Place(m_prev, nav.FPrevButton);
  Place(m_next, nav.FNextButton);
  Place(m_bracketLeft, nav.FBracketLeft);
  Place(m_bracketRight, nav.FBracketRight);
  Place(m_logo, nav.FLogo);
  for (auto [button, child] : {std::pair<FlatGlyphButton*, const NavigateChild*>{m_prev, &nav.FPrevButton},
                               {m_next, &nav.FNextButton}}) {
    const bool show = child->parentShowHint ? nav.ShowHint : child->showHint;
    button->setToolTip(show ? DisplayText(child->hint) : QString());
    button->setAccessibleName(DisplayText(child->hint));
  }
  Repaint();
}

void NavigateWidget::PointerStateChanged() {
  if (!m_list || !m_model) return;
  if (m_model->FList->HandCursor) {
    m_list->setCursor(NavigateHandCursor());
  } else {
    m_list->unsetCursor();
  }
  if (m_model->HintText().empty()) QToolTip::hideText();
}

void NavigateWidget::TimerChanged() {
  if (m_model && m_model->RepeatTimerEnabled()) {
    m_repeat.start();
  } else {
    m_repeat.stop();
  }
}

NavListWidget::NavListWidget(NavigateWidget* owner, QWidget* parent)
    : QWidget(parent), m_owner(owner) {
  setObjectName(QStringLiteral("NavList"));
  setMouseTracking(true);
}

void NavListWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QtCanvas canvas(&painter, m_owner->font(), m_owner->palette());
  const QRect r = event->rect();
  m_owner->model().Paint(canvas, graphics::Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

void NavListWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  m_owner->model().FList->ListMouseDown(p.x(), p.y());
}

void NavListWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  m_owner->model().FList->ListMouseMove(this, static_cast<int>(event->modifiers()), p.x(), p.y());
}

void NavListWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  m_owner->model().FList->MouseLeave();
}

bool NavListWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const TKelvaNavigate& nav = m_owner->model();
    const auto* help = static_cast<QHelpEvent*>(event);
    ShowHint(help->globalPos(), nav.ShowHint ? DisplayText(nav.HintText()) : QString(), this);
    return true;
  }
  return QWidget::event(event);
}
