#include "navigate/navaccess.h"

namespace navaccess {
namespace {

constexpr NavigatePart kParts[kPartCount] = {NavigatePart::kUp, NavigatePart::kList, NavigatePart::kDown,
                                             NavigatePart::kPrev, NavigatePart::kNext};

}  // namespace

NavigatePart PartOf(int index) { return index >= 0 && index < kPartCount ? kParts[index] : NavigatePart::kNone; }

Node Part(const TKelvaNavigate& bar, int index) {
  Node n;
  const NavigatePart part = PartOf(index);
  if (part == NavigatePart::kNone) return n;
  if (part == NavigatePart::kList) {
    const graphics::Point origin = bar.ListOrigin();
    const graphics::Rect list = bar.List().Bounds();
    n.role = Role::kList;
    n.name = "Steps";
    n.bounds = graphics::RectAt(origin.x, origin.y, list.width(), list.height());
    return n;
  }
  const NavigateChild& button = bar.Child(part);
  if (part == NavigatePart::kPrev) n.name = bar.HintPrevious();
  if (part == NavigatePart::kNext) n.name = bar.HintNext();
  n.bounds = button.bounds;
  n.visible = button.visible;
  n.enabled = button.enabled;
  return n;
}

int StepCount(const TKelvaNavigate& bar) { return bar.List().Heights().Count(); }

Node Step(const TKelvaNavigate& bar, int index) {
  Node n;
  n.role = Role::kListItem;
  if (index < 0 || index >= StepCount(bar)) return n;
  const TNavList& list = bar.List();
  n.name = list.Heights().GetText(index);
  for (char& c : n.name) {
    if (c == '\r') c = ' ';  // a caption's line breaks read as blanks
  }
  const graphics::Point origin = bar.ListOrigin();
  const graphics::Rect r = list.ItemRect(index);
  n.bounds = graphics::RectAt(origin.x + r.left, origin.y + r.top, r.width(), r.height());
  n.selectable = list.CanSelect(index);
  n.enabled = n.selectable;
  n.selected = index == list.ItemIndex();
  return n;
}

int PartAt(const TKelvaNavigate& bar, int x, int y) {
  const NavigatePart part = bar.PartAt(x, y);
  for (int i = 0; i < kPartCount; ++i) {
    if (kParts[i] == part) return i;
  }
  return -1;
}

int StepAt(const TKelvaNavigate& bar, int x, int y) {
  for (int i = 0; i < StepCount(bar); ++i) {
    const graphics::Rect r = Step(bar, i).bounds;
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
  }
  return -1;
}

bool Press(TKelvaNavigate& bar, int index) {
  const NavigatePart part = PartOf(index);
  if (part == NavigatePart::kNone || part == NavigatePart::kList) return false;
  const NavigateChild& button = bar.Child(part);
  if (!button.visible || !button.enabled) return false;
  bar.Click(part);
  return true;
}

}  // namespace navaccess
