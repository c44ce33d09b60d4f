#include "setup/formcontrols.h"

#include "setup/layout.h"

FormControls::FormControls(MainFormView& view) : m_view(view) {
  for (const ControlLayout& row : MainFormLayout()) {
    State& s = At(row.control);
    s.visible = row.visible;
    s.checked = row.checked;
    s.bounds = row.bounds;
  }
}

void FormControls::SetText(Control control, const std::string& text) {
  At(control).text = text;
  m_view.SetText(control, text);
  if (control == Control::KCLabel_1) m_view.SetAccessibleName(control, text);
  for (const ControlLayout& row : MainFormLayout()) {
    if (LabelOf(row.control) == control) m_view.SetAccessibleName(row.control, text);
  }
}

void FormControls::SetVisible(Control control, bool visible) {
  At(control).visible = visible;
  m_view.SetVisible(control, visible);
}

void FormControls::SetChecked(Control control, bool checked) {
  At(control).checked = checked;
  m_view.SetChecked(control, checked);
}

void FormControls::SetItems(Control control, const std::vector<std::string>& items) {
  State& s = At(control);
  s.items = items;
  s.index = -1;
  m_view.SetItems(control, items);
}

void FormControls::SetItemIndex(Control control, int index) {
  UserSelected(control, index);
  m_view.SetItemIndex(control, At(control).index);
}

std::string FormControls::SelectedItem(Control control) const {
  const State& s = At(control);
  return s.index >= 0 ? s.items[static_cast<size_t>(s.index)] : std::string();
}

void FormControls::SetBounds(Control control, const graphics::Rect& bounds) {
  At(control).bounds = bounds;
  m_view.SetBounds(control, bounds);
}

void FormControls::ShowPage(int page) {
  m_page = page;
  m_view.ShowPage(page);
}

void FormControls::UserSelected(Control control, int index) {
  State& s = At(control);
  s.index = index >= 0 && index < static_cast<int>(s.items.size()) ? index : -1;
}
