#pragma once

#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "setup/controls.h"

// What the main window's controller tells its widgets. A skin builds the
// widgets from the layout table and implements this; tests use a fake. The
// view is told what to show and never asked: the controller keeps its own
// state (FormControls), and the user's changes reach it as events
// (TMainForm::UserChecked, UserSelected and the handlers).
class MainFormView {
 public:
  virtual ~MainFormView() = default;

  virtual void SetText(Control control, const std::string& text) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual void SetChecked(Control control, bool checked) = 0;
  virtual void SetItems(Control control, const std::vector<std::string>& items) = 0;
  virtual void SetItemIndex(Control control, int index) = 0;
  virtual void SetBounds(Control control, const graphics::Rect& bounds) = 0;
  virtual void SetFocus(Control control) = 0;
  // The name a screen reader gives the control (the text of its label, the
  // banner's own text).
  virtual void SetAccessibleName(Control /*control*/, const std::string& /*name*/) {}

  // The notebook Hauptseite.
  virtual void ShowPage(int page) = 0;

  virtual void SetWindowCaption(const std::string& caption) = 0;
  virtual void SetApplicationTitle(const std::string& title) = 0;
  virtual graphics::Rect ScreenRect() const = 0;
  virtual void SetWindowBounds(const graphics::Rect& bounds) = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // The meter's state changed and must be drawn.
  virtual void RepaintMeter() = 0;
  // Paints the side-bar at once (outside the message loop).
  virtual void RepaintNavigateNow() = 0;
  virtual void Close() = 0;
};
