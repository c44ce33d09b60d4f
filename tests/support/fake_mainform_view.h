#pragma once

#include <map>
#include <string>
#include <vector>

#include "navigate/navigate.h"
#include "setup/mainformview.h"
#include "tests/support/recording_canvas.h"

// The main window without widgets: what the controller told each control,
// in maps.
class FakeMainFormView : public MainFormView, private NavigateHost {
 public:
  FakeMainFormView() : m_nav(static_cast<NavigateHost*>(this)) {
    m_nav.SetBounds(143, 400);
    m_nav.Loaded();
    m_nav.SetSelectLinear(false);
    m_bounds[Control::Panel_Gesamt] = graphics::RectAt(68, 90, 480, 400);
    m_bounds[Control::KCLabel_1] = graphics::RectAt(22, 23, 577, 37);
    m_bounds[Control::nutzloser_Button] = graphics::RectAt(232, 520, 75, 25);
    m_checked[Control::Sirel_CheckBox] = true;
  }

  void SetText(Control c, const std::string& t) override { m_text[c] = t; }
  std::string Text(Control c) const { return Get(m_text, c, std::string()); }
  void SetVisible(Control c, bool v) override { m_visible[c] = v; }
  bool Visible(Control c) const { return Get(m_visible, c, true); }
  void SetChecked(Control c, bool v) override { m_checked[c] = v; }
  bool Checked(Control c) const { return Get(m_checked, c, false); }
  void SetItems(Control c, const std::vector<std::string>& items) override {
    m_items[c] = items;
    m_index[c] = -1;
  }
  std::vector<std::string> Items(Control c) const { return Get(m_items, c, std::vector<std::string>()); }
  void SetItemIndex(Control c, int i) override { m_index[c] = i; }
  int ItemIndex(Control c) const { return Get(m_index, c, -1); }
  void SetBounds(Control c, const graphics::Rect& r) override { m_bounds[c] = r; }
  graphics::Rect Bounds(Control c) const { return Get(m_bounds, c, graphics::Rect{}); }
  void SetFocus(Control c) override { focus = c; }
  void ShowPage(int p) override { page = p; }
  int Page() const { return page; }
  void SetWindowCaption(const std::string& c) override { caption = c; }
  void SetApplicationTitle(const std::string& t) override { appTitle = t; }
  graphics::Rect ScreenRect() const override { return graphics::RectAt(0, 0, 1024, 768); }
  void SetWindowBounds(const graphics::Rect& r) override { window = r; }
  int ClientWidth() const override { return clientWidth; }
  int ClientHeight() const override { return clientHeight; }
  void SetBusyCursor(bool b) override { busy = b; }
  void RepaintMeter() override { ++meterPaints; }
  void RepaintNavigateNow() override {
    ++navigatePaints;
    currentStepAtPaint = m_nav.ItemIndex();
  }
  void Close() override { closed = true; }
  // The side-bar the form under test is given; this view is its host.
  TKelvaNavigate& Navigate() { return m_nav; }
  NavigateHost& SideBarHost() { return *this; }

  // The side-bar's steps that can be chosen, as "01" for steps 0 and 1.
  std::string Enabled() {
    std::string s;
    for (int i = 0; i < static_cast<int>(m_nav.Lines().size()); ++i) {
      if (m_nav.List().Heights().GetEnabled(i)) s += std::to_string(i);
    }
    return s;
  }

  int page = -1;
  Control focus = Control::kCount;
  std::string caption;
  std::string appTitle;
  graphics::Rect window;
  int clientWidth = 1024;
  int clientHeight = 700;
  bool busy = false;
  int meterPaints = 0;
  int navigatePaints = 0;
  int currentStepAtPaint = -1;  // the side-bar's current step at the last immediate paint
  bool closed = false;

 private:
  template <typename M, typename V>
  static V Get(const M& map, Control c, V fallback) {
    const auto it = map.find(c);
    return it == map.end() ? fallback : it->second;
  }
  void Repaint() override {}
  void RepaintRect(const graphics::Rect&) override {}
  void PointerStateChanged() override {}
  void TimerChanged() override {}
  graphics::Canvas* MeasureCanvas() override { return &m_canvas; }

  RecordingCanvas m_canvas{6};
  TKelvaNavigate m_nav;
  std::map<Control, std::string> m_text;
  std::map<Control, bool> m_visible;
  std::map<Control, bool> m_checked;
  std::map<Control, std::vector<std::string>> m_items;
  std::map<Control, int> m_index;
  std::map<Control, graphics::Rect> m_bounds;
};
