#pragma once

#include <array>
#include <string>
#include <vector>

#include "setup/mainformview.h"

// The main window's controls as the controller last set them or the user
// changed them. The controller reads its state here and never from the view;
// every change it makes goes on to the view.
class FormControls {
 public:
  // The state starts as the layout table describes the controls.
  explicit FormControls(MainFormView& view);

  void SetText(Control control, const std::string& text);
  const std::string& Text(Control control) const { return At(control).text; }
  void SetVisible(Control control, bool visible);
  bool Visible(Control control) const { return At(control).visible; }
  void SetChecked(Control control, bool checked);
  bool Checked(Control control) const { return At(control).checked; }
  // New items leave no item selected.
  void SetItems(Control control, const std::vector<std::string>& items);
  const std::vector<std::string>& Items(Control control) const { return At(control).items; }
  void SetItemIndex(Control control, int index);
  int ItemIndex(Control control) const { return At(control).index; }
  // The selected item, or "" when none is.
  std::string SelectedItem(Control control) const;
  void SetBounds(Control control, const graphics::Rect& bounds);
  const graphics::Rect& Bounds(Control control) const { return At(control).bounds; }
  void ShowPage(int page);
  int Page() const { return m_page; }

  // What the user did in the window: recorded, not sent back to the view.
  void UserChecked(Control control, bool checked) { At(control).checked = checked; }
  // An index outside the items counts as no selection.
  void UserSelected(Control control, int index);

 private:
  struct State {
    std::string text;
    bool visible = true;
    bool checked = false;
    std::vector<std::string> items;
    int index = -1;
    graphics::Rect bounds;
  };
  State& At(Control control) { return m_state[static_cast<size_t>(control)]; }
  const State& At(Control control) const { return m_state[static_cast<size_t>(control)]; }

  MainFormView& m_view;
  std::array<State, static_cast<size_t>(Control::kCount) + 1> m_state;
  int m_page = 0;
};
