// The pointer over the side-bar: which part it is over, what that part does
// with moves, presses and releases, its hint and its cursor.
#include "navigate/navigate.h"

namespace {

bool IsButton(NavigatePart part) {
  return part == NavigatePart::kUp || part == NavigatePart::kDown || part == NavigatePart::kPrev ||
         part == NavigatePart::kNext;
}

bool IsArrow(NavigatePart part) { return part == NavigatePart::kUp || part == NavigatePart::kDown; }

}  // namespace

NavigatePart TCustomNavigate::PartAt(int X, int Y) const {
  const auto in = [X, Y](const NavigateChild& c) { return c.visible && c.bounds.Contains(X, Y); };
  if (in(FScrollBox)) {
    const graphics::Point origin = ListOrigin();
    const graphics::Rect list = FList->Bounds();
    return graphics::RectAt(origin.x, origin.y, list.width(), list.height()).Contains(X, Y) ? NavigatePart::kList
                                                                                            : NavigatePart::kScrollBox;
  }
  for (NavigatePart part : {NavigatePart::kUp, NavigatePart::kDown, NavigatePart::kPrev, NavigatePart::kNext}) {
    if (in(Child(part)) && Child(part).enabled) return part;
  }
  return in(FLogo) ? NavigatePart::kLogo : NavigatePart::kNone;
}

void TCustomNavigate::MouseDown(int X, int Y, bool Primary) {
  const NavigatePart part = PartAt(X, Y);
  if (part == NavigatePart::kList) {
    const graphics::Point origin = ListOrigin();
    FList->ListMouseDown(X - origin.x, Y - origin.y);
  } else if (Primary && IsButton(part)) {
    m_pressed = part;
    RequestRepaint();
  }
}

void TCustomNavigate::MouseUp(int X, int Y) {
  const NavigatePart pressed = m_pressed;
  if (pressed == NavigatePart::kNone) return;
  m_pressed = NavigatePart::kNone;
  RequestRepaint();
  if (PartAt(X, Y) == pressed) Click(pressed);
}

void TCustomNavigate::Click(NavigatePart Part) {
  switch (Part) {
    case NavigatePart::kUp: ScrollUp(); break;
    case NavigatePart::kDown: ScrollDown(); break;
    case NavigatePart::kPrev: FList->SelectPrevious(); break;
    case NavigatePart::kNext: FList->SelectNext(); break;
    default: break;
  }
}

void TCustomNavigate::MouseMove(int X, int Y, int Shift) {
  const NavigatePart part = PartAt(X, Y);
  if (part != m_hot) {
    if (IsArrow(m_hot)) StopAutoScroll();
    if (m_hot == NavigatePart::kList) FList->MouseLeave();
    m_hot = part;
    if (IsArrow(part)) StartAutoScroll(part);
    RequestRepaint();
  }
  const auto forward = [&](NavigateChild& child) {
    ForwardChildMouseMove(child, &child, Shift, X - child.bounds.left, Y - child.bounds.top);
  };
  switch (part) {
    case NavigatePart::kList: {
      const graphics::Point origin = ListOrigin();
      FList->ListMouseMove(FList.get(), Shift, X - origin.x, Y - origin.y);
      break;
    }
    case NavigatePart::kScrollBox:
      ForwardMouseMove(&FScrollBox, Shift, X - FScrollBox.bounds.left, Y - FScrollBox.bounds.top,
                       /*fromScrollBox=*/true);
      break;
    case NavigatePart::kPrev: forward(FPrevButton); break;
    case NavigatePart::kNext: forward(FNextButton); break;
    case NavigatePart::kLogo: forward(FLogo); break;
    case NavigatePart::kNone: ForwardMouseMove(this, Shift, X, Y); break;
    default:  // the scroll arrows keep their moves
      break;
  }
}

void TCustomNavigate::MouseLeave() {
  if (IsArrow(m_hot)) StopAutoScroll();
  if (m_hot == NavigatePart::kList) FList->MouseLeave();
  m_hot = NavigatePart::kNone;
  RequestRepaint();
}

std::string TCustomNavigate::HintAt(int X, int Y) const {
  const NavigatePart part = PartAt(X, Y);
  if (part == NavigatePart::kList) return m_showHint ? m_hintText : std::string();
  if (part != NavigatePart::kPrev && part != NavigatePart::kNext) return std::string();
  const NavigateChild& button = Child(part);
  const bool show = button.parentShowHint ? m_showHint : button.showHint;
  return show ? button.hint : std::string();
}

bool TCustomNavigate::HandCursorAt(int X, int Y) const {
  const NavigatePart part = PartAt(X, Y);
  return (part == NavigatePart::kList && FList->HandCursor()) || part == NavigatePart::kPrev ||
         part == NavigatePart::kNext;
}
