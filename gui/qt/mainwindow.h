#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "gui/qt/qtsupport.h"
#include "setup/mainform.h"
#include "setup/mainformview.h"

class MeterWidget;
class NavigateWidget;
class QStackedWidget;

// The main window of the Qt skin: widgets built from the layout table, each
// named by its control; once attached, every event goes to the controller's
// handler.
class MainWindow : public QWidget, public MainFormView {
  Q_OBJECT
 public:
  MainWindow();
  ~MainWindow() override;

  // From now on every event goes to form; nullptr stops that.
  void Attach(TMainForm* form);
  QWidget* widget(Control control) const;

  // MainFormView
  void SetText(Control control, const std::string& text) override;
  void SetVisible(Control control, bool visible) override;
  void SetChecked(Control control, bool checked) override;
  void SetItems(Control control, const std::vector<std::string>& items) override;
  void SetItemIndex(Control control, int index) override;
  void SetBounds(Control control, const graphics::Rect& bounds) override;
  void SetFocus(Control control) override;
  void SetAccessibleName(Control control, const std::string& name) override;
  void ShowPage(int page) override;
  void SetWindowCaption(const std::string& caption) override;
  void SetApplicationTitle(const std::string& title) override;
  graphics::Rect ScreenRect() const override;
  void SetWindowBounds(const graphics::Rect& bounds) override;
  int ClientWidth() const override { return width(); }
  int ClientHeight() const override { return height(); }
  void SetBusyCursor(bool busy) override;
  void RepaintMeter() override;
  void RepaintNavigateNow() override;
  void Close() override;
  // The side-bar's widget.
  NavigateWidget& SideBar() { return *m_navigate; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Connect();
  // A push button was clicked: its handler runs.
  void Clicked(Control button);
  // The control a widget belongs to; kCount for none.
  Control ControlOf(QWidget* w) const;
  // Gives the outer frame the place the controller asked for.
  void PlaceFrame();

  std::map<Control, QWidget*> m_widgets;
  QStackedWidget* m_notebook = nullptr;
  NavigateWidget* m_navigate = nullptr;
  TMainForm* m_form = nullptr;
  MeterWidget* m_meter = nullptr;  // made once a form is attached
  QRect m_frame;                   // the outer place asked for, until shown
  QRect m_placed;                  // the inner place that gave it
  bool m_busy = false;
  bool m_filling = false;
};
