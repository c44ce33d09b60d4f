#include "setup/controls.h"

#include <cstddef>

const char* ControlName(Control control) {
  static const char* const kNames[] = {
      "KCLabel_1",        "Panel_Gesamt",    "nutzloser_Button",    "Hauptseite",        "KelvaNavigate1",
      "Label_135",        "Label_105",       "Label_106",           "Label_103",         "Label_104",
      "Btn_Cancel",       "ComboBoxSprache", "Nutzervertrag_Label", "accept_Button",     "eula_Memo",
      "Auswahl_Label",    "Label_118",       "Sirel_CheckBox",      "Beispiel_CheckBox", "DXF_CheckBox",
      "Label_115",        "Label_117",       "SirelZiel_Label",     "drive_Combo",       "zielSirel_Edit",
      "SirelZiel_Button", "DXFZiel_Label",   "zielDXF_Edit",        "DXFZiel_Button",    "Label_134",
      "Label_130",        "LabelFile",       "KCMeter_File",
  };
  static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<size_t>(Control::kCount), "one name per control");
  const auto index = static_cast<size_t>(control);
  return index < sizeof(kNames) / sizeof(kNames[0]) ? kNames[index] : "";  // kCount: no control
}
