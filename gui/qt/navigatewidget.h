#pragma once

#include <QCursor>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "gui/qt/qtcanvas.h"
#include "navigate/navigate.h"

class QLabel;
class NavListWidget;

// A flat glyph button that reports the pointer entering and leaving it.
class FlatGlyphButton : public QToolButton {
  Q_OBJECT
 public:
  explicit FlatGlyphButton(QWidget* parent);

 signals:
  void pointerEntered();
  void pointerLeft();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
};

// The navigation side-bar as a Qt widget: it hosts the TKelvaNavigate model,
// builds the children it describes (scroll arrows, the scroll box with the
// step list, brackets, previous/next buttons, logo) and forwards events.
class NavigateWidget : public QWidget, private NavigateHost {
  Q_OBJECT
 public:
  explicit NavigateWidget(QWidget* parent = nullptr);
  ~NavigateWidget() override;

  TKelvaNavigate& model() { return *m_model; }
  // The hand cursor made from CRSRHAND, hot spot (6, 1).
  static QCursor NavigateHandCursor();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class NavListWidget;

  void Repaint() override;
  void RepaintList(const graphics::Rect& area) override;
  void ChildrenChanged() override;
  void PointerStateChanged() override;
  void TimerChanged() override;
  graphics::Canvas* MeasureCanvas() override { return m_measure.get(); }

  void Place(QWidget* widget, const NavigateChild& child);

  std::unique_ptr<QtCanvas> m_measure;
  std::unique_ptr<TKelvaNavigate> m_model;
  QWidget* m_scrollBox = nullptr;
  NavListWidget* m_list = nullptr;
  FlatGlyphButton* m_up = nullptr;
  FlatGlyphButton* m_down = nullptr;
  FlatGlyphButton* m_prev = nullptr;
  FlatGlyphButton* m_next = nullptr;
  QLabel* m_bracketLeft = nullptr;
  QLabel* m_bracketRight = nullptr;
  QLabel* m_logo = nullptr;
  QTimer m_repeat;
  int m_announcedIndex = 0;
};

// The step list: paints through the model and passes the pointer on.
class NavListWidget : public QWidget {
  Q_OBJECT
 public:
  NavListWidget(NavigateWidget* owner, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  NavigateWidget* m_owner;
};
