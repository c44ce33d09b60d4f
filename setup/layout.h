#pragma once

#include <vector>

#include "graphics/canvas.h"
#include "setup/controls.h"

// How a skin builds the main window: one row per control with its kind,
// parent, rectangle, font, colours, tab order and initial state.
enum class ControlKind {
  kBanner,  // label with the sunken 3-D text effect
  kPanel,
  kPushButton,  // a focusable button without a glyph
  kNotebook,
  kNavigate,
  kHeading,  // word-wrapped page heading
  kLabel,
  kSpeedButton,
  kComboBox,  // drop-down list without typing
  kMemo,      // read-only multi-line text with a vertical scroll bar
  kCheckBox,
  kEdit,  // read-only edit field
  kMeter,
};

struct ControlLayout {
  Control control;
  ControlKind kind;
  // The parent: the window (kCount), Panel_Gesamt, or a page of Hauptseite.
  Control parent;
  int page;  // the notebook page for page controls, else -1
  graphics::Rect bounds;
  bool autoSize;
  bool wordWrap;
  int fontPixels;  // character height; 0 = the window's font
  int tabOrder;    // -1 = takes no keyboard focus
  bool visible;
  bool checked;
};

// The main window's controls in creation order.
const std::vector<ControlLayout>& MainFormLayout();
const ControlLayout* FindLayout(Control control);

// The label that names a control for screen readers (the skins link the
// two); Control::kCount when none does.
Control LabelOf(Control control);

// The controls that take the keyboard focus in the order Tab visits them:
// depth first, a container's stops standing where the container stands among
// its siblings, the notebook's pages one after the other.
std::vector<Control> TabChain();

// Fixed values of the main window.
constexpr int kWindowFontPixels = 13;   // Arial 10 pt
constexpr int kHeadingFontPixels = 19;  // Arial 14 pt
constexpr int kBannerFontPixels = 27;   // Arial 20 pt
constexpr int kSideBarFontPixels = 11;  // Arial 8 pt
constexpr graphics::Color kWindowBackground{128, 128, 128};
constexpr int kDesignWidth = 669;
constexpr int kDesignHeight = 605;
