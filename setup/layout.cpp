#include "setup/layout.h"

#include <algorithm>

namespace {

using C = Control;
using K = ControlKind;

ControlLayout Row(C c, K k, C parent, int page, int l, int t, int w, int h, int tab = -1, int font = 0) {
  return ControlLayout{c, k, parent, page, graphics::RectAt(l, t, w, h), false, false, font, tab, true, false};
}

ControlLayout Auto(ControlLayout row) {
  row.autoSize = true;
  return row;
}

ControlLayout Wrap(ControlLayout row) {
  row.wordWrap = true;
  return row;
}

ControlLayout Hidden(ControlLayout row) {
  row.visible = false;
  return row;
}

ControlLayout Checked(ControlLayout row) {
  row.checked = true;
  return row;
}

ControlLayout Heading(C c, int page, int l, int t, int h) {
  return Wrap(Row(c, K::kHeading, C::Hauptseite, page, l, t, 160, h, -1, kHeadingFontPixels));
}

}  // namespace

const std::vector<ControlLayout>& MainFormLayout() {
  static const std::vector<ControlLayout> kLayout = {
      Wrap(Row(C::KCLabel_1, K::kBanner, C::kCount, -1, 22, 23, 577, 37, -1, kBannerFontPixels)),
      Row(C::Panel_Gesamt, K::kPanel, C::kCount, -1, 68, 90, 480, 400, 0),
      // The focus holder: no tab stop and never shown (nothing is announced
      // for it); every page gives the focus to a control of its own.
      Hidden(Row(C::nutzloser_Button, K::kPushButton, C::kCount, -1, 232, 520, 75, 25)),
      Row(C::Hauptseite, K::kNotebook, C::Panel_Gesamt, -1, 2, 2, 333, 397, 0),
      Row(C::KelvaNavigate1, K::kNavigate, C::Panel_Gesamt, -1, 337, 0, 143, 400, 1, kSideBarFontPixels),
      // Page 0: language
      Heading(C::Label_135, 0, 167, 40, 84),
      Wrap(Row(C::Label_105, K::kLabel, C::Hauptseite, 0, 8, 140, 315, 45)),
      Wrap(Row(C::Label_106, K::kLabel, C::Hauptseite, 0, 8, 178, 315, 77)),
      Row(C::Label_103, K::kLabel, C::Hauptseite, 0, 8, 371, 317, 16),
      Auto(Row(C::Label_104, K::kLabel, C::Hauptseite, 0, 21, 269, 0, 0)),
      Row(C::Btn_Cancel, K::kSpeedButton, C::Hauptseite, 0, 115, 325, 102, 25, 1),
      Row(C::ComboBoxSprache, K::kComboBox, C::Hauptseite, 0, 172, 265, 140, 24, 0),
      // Page 1: licence
      Heading(C::Nutzervertrag_Label, 1, 167, 40, 84),
      Row(C::accept_Button, K::kSpeedButton, C::Hauptseite, 1, 115, 360, 102, 25, 1),
      Row(C::eula_Memo, K::kMemo, C::Hauptseite, 1, 0, 88, 337, 265, 0),
      // Page 2: selection
      Heading(C::Auswahl_Label, 2, 169, 38, 88),
      Wrap(Row(C::Label_118, K::kLabel, C::Hauptseite, 2, 24, 140, 304, 45)),
      Checked(Row(C::Sirel_CheckBox, K::kCheckBox, C::Hauptseite, 2, 24, 261, 307, 17, 0)),
      Row(C::Beispiel_CheckBox, K::kCheckBox, C::Hauptseite, 2, 24, 291, 307, 15, 1),
      Row(C::DXF_CheckBox, K::kCheckBox, C::Hauptseite, 2, 24, 321, 307, 15, 2),
      // Page 3: destination
      Heading(C::Label_115, 3, 169, 38, 88),
      Wrap(Row(C::Label_117, K::kLabel, C::Hauptseite, 3, 24, 140, 300, 53)),
      Auto(Row(C::SirelZiel_Label, K::kLabel, C::Hauptseite, 3, 24, 200, 0, 0)),
      Row(C::drive_Combo, K::kComboBox, C::Hauptseite, 3, 24, 220, 300, 24, 1),
      Row(C::zielSirel_Edit, K::kEdit, C::Hauptseite, 3, 24, 219, 300, 24, 2),
      Row(C::SirelZiel_Button, K::kSpeedButton, C::Hauptseite, 3, 117, 247, 100, 24, 3),
      Auto(Row(C::DXFZiel_Label, K::kLabel, C::Hauptseite, 3, 24, 312, 0, 0)),
      Row(C::zielDXF_Edit, K::kEdit, C::Hauptseite, 3, 24, 331, 300, 24, 0),
      Row(C::DXFZiel_Button, K::kSpeedButton, C::Hauptseite, 3, 117, 360, 100, 24, 4),
      // Page 4: copy
      Heading(C::Label_134, 4, 165, 40, 88),
      Row(C::Label_130, K::kLabel, C::Hauptseite, 4, 8, 154, 321, 16),
      Row(C::LabelFile, K::kLabel, C::Hauptseite, 4, 8, 179, 321, 16),
      Row(C::KCMeter_File, K::kMeter, C::Hauptseite, 4, 13, 248, 306, 21),
  };
  return kLayout;
}

const ControlLayout* FindLayout(Control control) {
  for (const ControlLayout& row : MainFormLayout()) {
    if (row.control == control) return &row;
  }
  return nullptr;
}

Control LabelOf(Control control) {
  switch (control) {
    case Control::ComboBoxSprache: return Control::Label_104;
    case Control::eula_Memo: return Control::Nutzervertrag_Label;
    case Control::drive_Combo:
    case Control::zielSirel_Edit: return Control::SirelZiel_Label;
    case Control::zielDXF_Edit: return Control::DXFZiel_Label;
    case Control::KCMeter_File: return Control::Label_134;
    default: return Control::kCount;
  }
}

std::vector<Control> TabChain() {
  // Each stop's key: the tab orders (and the page) from the window down.
  std::vector<std::pair<std::vector<int>, Control>> stops;
  for (const ControlLayout& row : MainFormLayout()) {
    if (row.tabOrder < 0 || row.kind == ControlKind::kPanel || row.kind == ControlKind::kNotebook) continue;
    std::vector<int> key = {row.tabOrder};
    if (row.page >= 0) key.insert(key.begin(), row.page);
    for (const ControlLayout* up = FindLayout(row.parent); up; up = FindLayout(up->parent)) {
      key.insert(key.begin(), up->tabOrder);
    }
    stops.emplace_back(std::move(key), row.control);
  }
  std::sort(stops.begin(), stops.end());
  std::vector<Control> chain;
  for (const auto& stop : stops) chain.push_back(stop.second);
  return chain;
}
