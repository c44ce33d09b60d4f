// The side-bar drawn whole: scroll arrows, the list clipped by its box,
// previous/next buttons, brackets and logo.
#include <algorithm>

#include "graphics/offsetcanvas.h"
#include "navigate/navigate.h"
#include "navigate/pictures.h"

void TCustomNavigate::Paint(graphics::Canvas& Canvas, const graphics::Rect& Update) {
  PaintButton(Canvas, NavigatePart::kUp, navigate::kArrowUp);
  PaintButton(Canvas, NavigatePart::kDown, navigate::kArrowDown);
  PaintButton(Canvas, NavigatePart::kPrev, navigate::kArrowLeft);
  PaintButton(Canvas, NavigatePart::kNext, navigate::kArrowRight);
  const struct {
    const NavigateChild& child;
    const graphics::Picture& picture;
  } images[] = {
      {FBracketLeft, navigate::kBracketLeft}, {FBracketRight, navigate::kBracketRight}, {FLogo, navigate::kLogo}};
  for (const auto& image : images) {
    if (image.child.visible) {
      Canvas.DrawPicture(image.child.bounds.left, image.child.bounds.top, image.picture, false);
    }
  }
  if (!FScrollBox.visible) return;
  const graphics::Rect box = FScrollBox.bounds;
  const graphics::Rect shown{std::max(box.left, Update.left), std::max(box.top, Update.top),
                             std::min(box.right, Update.right), std::min(box.bottom, Update.bottom)};
  if (shown.right <= shown.left || shown.bottom <= shown.top) return;
  Canvas.SetClip(shown);
  const graphics::Point origin = ListOrigin();
  graphics::OffsetCanvas list(Canvas, origin.x, origin.y);
  FList->Paint(list, graphics::Rect{shown.left - origin.x, shown.top - origin.y, shown.right - origin.x,
                                    shown.bottom - origin.y});
  Canvas.ClearClip();
}

void TCustomNavigate::PaintButton(graphics::Canvas& Canvas, NavigatePart Part, const graphics::Picture& Glyph) {
  const NavigateChild& button = Child(Part);
  if (!button.visible) return;
  const graphics::Rect r = button.bounds;
  const bool hot = button.enabled && m_hot == Part;
  const bool pressed = hot && m_pressed == Part;
  const int shift = pressed ? 1 : 0;
  Canvas.DrawPicture(r.left + (r.width() - Glyph.width) / 2 + shift, r.top + (r.height() - Glyph.height) / 2 + shift,
                     Glyph, !button.enabled);
  if (!hot) return;
  // A flat button shows an edge only under the pointer: raised, or sunken
  // while it is held down.
  Canvas.SetPenColor(pressed ? graphics::kGray : graphics::kWhite);
  Canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
  Canvas.SetPenColor(pressed ? graphics::kWhite : graphics::kGray);
  Canvas.Polyline({{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
}
