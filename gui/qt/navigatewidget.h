#pragma once

#include <QCursor>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/qt/qtcanvas.h"
#include "navigate/navigate.h"

// The navigation side-bar as one Qt widget: it shows a TKelvaNavigate model
// (the wizard's), which draws every part on the widget's canvas; the
// pointer, the repeat timer and hint requests go to the model.
class NavigateWidget : public QWidget, private NavigateHost {
  Q_OBJECT
 public:
  explicit NavigateWidget(QWidget* parent = nullptr);
  ~NavigateWidget() override;

  // The host the model is made with.
  NavigateHost& Host() { return *this; }
  // From now on the widget shows model and sends it the pointer (nullptr:
  // the model is going).
  void SetModel(TKelvaNavigate* model);
  TKelvaNavigate& model() { return *m_model; }
  bool HasModel() const { return m_model != nullptr; }
  // The hand cursor made from CRSRHAND, hot spot (6, 1).
  static QCursor NavigateHandCursor();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Repaint() override;
  void RepaintRect(const graphics::Rect& area) override;
  void PointerStateChanged() override;
  void TimerChanged() override;
  graphics::Canvas* MeasureCanvas() override { return m_measure.get(); }

  std::unique_ptr<QtCanvas> m_measure;
  TKelvaNavigate* m_model = nullptr;
  QTimer m_repeat;
  QPoint m_pointer{-1, -1};
  std::string m_hint;
  int m_announcedIndex = 0;
};
