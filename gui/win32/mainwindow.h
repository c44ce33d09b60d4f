#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/win32/controlids.h"
#include "gui/win32/dpi.h"
#include "gui/win32/navigatewindow.h"
#include "gui/win32/win32support.h"
#include "setup/mainform.h"
#include "setup/layout.h"
#include "setup/mainformview.h"

// The main window of the Win32 skin: native controls built from the layout
// table (each with its control's ID), the side-bar, banner and meter drawn
// with GDI; every notification goes to the controller's handler. The
// controller places controls in units of 1/96 inch; the window scales them
// to the dots per inch of its screen and follows it from screen to screen.
class MainWindow final : public MainFormView {
 public:
  MainWindow();
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  HWND ControlHandle(Control control) const { return m_controls[static_cast<size_t>(control)]; }
  // From now on every notification goes to form; nullptr stops that.
  void Attach(TMainForm* form);
  // Key preview and dialog keys of the window, before dispatch.
  bool PreTranslate(MSG& msg);
  // Puts the control's label just before it among its siblings.
  void PlaceLabelBefore(Control control);
  // The control a window belongs to; kCount for none.
  Control ControlOf(HWND w) const;

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
  void SetApplicationTitle(const std::string&) override {}
  graphics::Rect ScreenRect() const override;
  void SetWindowBounds(const graphics::Rect& bounds) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetBusyCursor(bool busy) override;
  void RepaintMeter() override;
  void RepaintNavigateNow() override;
  void Close() override;
  // The side-bar's window.
  NavigateWindow& SideBar() { return *m_navigate; }
  // The scale the window is drawn at.
  const win32skin::Dpi& Scale() const { return m_dpi; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Build();
  void OrderTabStops();
  void Command(int id, int code);
  void ShowText(HWND w, const ControlLayout* row, const std::string& text);
  // The font of a character height in units, at the window's scale.
  HFONT Font(int units);
  void Place(Control control);
  // Every control, font and picture at a new scale; the window takes the
  // rectangle the system proposes (none: it keeps its place and grows).
  void Rescale(int dpi, const RECT* proposed);

  HWND m_hwnd = nullptr;
  win32skin::Dpi m_dpi;
  std::array<HWND, static_cast<size_t>(Control::kCount)> m_controls{};
  std::array<graphics::Rect, static_cast<size_t>(Control::kCount)> m_units{};  // where each control stands
  std::array<HWND, 5> m_pages{};
  std::map<int, HFONT> m_fonts;  // by height in pixels
  HWND m_lastFocus = nullptr;
  HWND m_refocus = nullptr;  // hidden while it had the focus
  bool m_busy = false;
  bool m_labelFilePending = false;
  std::string m_labelFile;  // the newest name, shown in the next pass
  std::unique_ptr<NavigateWindow> m_navigate;
  TMainForm* m_form = nullptr;
};
