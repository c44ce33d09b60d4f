#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/win32/controlids.h"
#include "gui/win32/navigatewindow.h"
#include "gui/win32/win32support.h"
#include "setup/mainform.h"
#include "setup/layout.h"
#include "setup/mainformview.h"


// The main window of the Win32 skin: native controls built from the layout
// table (each with its control's ID), the side-bar, banner and meter drawn
// with GDI; every notification goes to the controller's handler.
class MainWindow final : public MainFormView {
 public:
  MainWindow(platform::Platform& platform, win32skin::Win32EventLoop& loop);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  HWND ControlHandle(Control control) const { return m_controls[static_cast<size_t>(control)]; }
  TMainForm& Form() { return *m_form; }
  const std::string& ApplicationTitle() const { return m_applicationTitle; }
  // Key preview and dialog keys of the window, before dispatch.
  bool PreTranslate(MSG& msg);

  // MainFormView
  void SetText(Control control, const std::string& text) override;
  std::string Text(Control control) const override;
  void SetVisible(Control control, bool visible) override;
  bool Visible(Control control) const override;
  void SetChecked(Control control, bool checked) override;
  bool Checked(Control control) const override;
  void SetItems(Control control, const std::vector<std::string>& items) override;
  std::vector<std::string> Items(Control control) const override;
  void SetItemIndex(Control control, int index) override;
  int ItemIndex(Control control) const override;
  void SetBounds(Control control, const graphics::Rect& bounds) override;
  graphics::Rect Bounds(Control control) const override;
  void SetFocus(Control control) override;
  void ShowPage(int page) override;
  int Page() const override { return m_page; }
  void SetWindowCaption(const std::string& caption) override;
  void SetApplicationTitle(const std::string& title) override { m_applicationTitle = title; }
  graphics::Rect ScreenRect() const override;
  void SetWindowBounds(const graphics::Rect& bounds) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetBusyCursor(bool busy) override;
  void RepaintMeter() override;
  void RepaintNavigateNow() override;
  void Close() override;
  TKelvaNavigate& Navigate() override { return m_navigate->Model(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Build();
  void OrderTabStops();
  void Command(int id, int code);
  void ShowText(HWND w, const ControlLayout* row, const std::string& text);
  HFONT Font(int pixels);

  HWND m_hwnd = nullptr;
  std::array<HWND, static_cast<size_t>(Control::kCount)> m_controls{};
  std::array<HWND, 5> m_pages{};
  int m_page = 0;
  std::map<Control, std::string> m_texts;
  std::map<Control, std::vector<std::string>> m_items;
  std::map<int, HFONT> m_fonts;
  HWND m_lastFocus = nullptr;
  std::string m_applicationTitle;
  bool m_busy = false;
  bool m_labelFilePending = false;
  std::unique_ptr<NavigateWindow> m_navigate;
  std::unique_ptr<TMainForm> m_form;
};
