#pragma once

#include <string>

#include "graphics/canvas.h"
#include "navigate/navigate.h"

// What assistive technology is told of the side-bar, the same in every
// skin: its parts in order (scroll up, the step list, scroll down, previous,
// next) and, in the list, the steps. Parts and steps are drawn, not windows,
// so each skin's accessibility layer asks here for their roles, names, states
// and places.
namespace navaccess {

enum class Role { kButton, kList, kListItem };

struct Node {
  Role role = Role::kButton;
  std::string name;
  graphics::Rect bounds;  // in the side-bar's coordinates
  bool visible = true;
  bool enabled = true;
  bool selectable = false;  // steps that can be chosen
  bool selected = false;    // the current step
};

constexpr int kPartCount = 5;
constexpr int kListPart = 1;

// Part index 0..kPartCount-1 and its part of the model.
NavigatePart PartOf(int index);
Node Part(const TKelvaNavigate& bar, int index);
int StepCount(const TKelvaNavigate& bar);
Node Step(const TKelvaNavigate& bar, int index);
// The part index under a point of the side-bar, -1 when none.
int PartAt(const TKelvaNavigate& bar, int x, int y);
// The step under a point, -1 when none.
int StepAt(const TKelvaNavigate& bar, int x, int y);
// Presses a button part as a click would; false when it cannot be pressed.
bool Press(TKelvaNavigate& bar, int index);

}  // namespace navaccess
