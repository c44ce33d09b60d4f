#include "navigate/navigate.h"

#include <algorithm>

namespace {

constexpr int kScrollStep = 8;

}  // namespace

TCustomNavigate::TCustomNavigate(NavigateHost* Host) : m_host(Host) {
  // The children as created; the first layout pass places them again.
  const int Width = m_width;
  const int Height = m_height;
  FUpButton.bounds = graphics::RectAt(36, FTopOffset + 3, Width - 46, 12);
  FBracketLeft.bounds = graphics::RectAt(36, Height - 28, 4, 22);
  FBracketRight.bounds = graphics::RectAt(115, Height - 28, 4, 22);
  FPrevButton.bounds = graphics::RectAt(37, Height - 27, 27, 20);
  FNextButton.bounds = graphics::RectAt(91, Height - 27, 27, 20);
  FPrevButton.enabled = false;
  FNextButton.enabled = false;
  FDownButton.bounds = graphics::RectAt(36, Height - 43, Width - 46, 12);
  FScrollBox.bounds = graphics::RectAt(0, FTopOffset + 15, Width, (Height - 43) - (FTopOffset + 15));
  FLogo.visible = false;  // only the branded side-bar shows one
  FList = std::make_unique<TNavList>(this);
  FList->FHeights.SetCanvas(Host ? Host->MeasureCanvas() : nullptr);
  FList->m_width = Width;
  FList->m_height = 150;
}

void TCustomNavigate::Loaded() {
  m_loading = false;
  RequestRepaint();
}

void TCustomNavigate::FontChanged() {
  if (m_host) FList->FHeights.SetCanvas(m_host->MeasureCanvas());
  if (!m_loading) LinesChanged();
}

void TCustomNavigate::ClearLines() {
  m_lines.clear();
  m_objects.clear();
  LinesChanged();
}

void TCustomNavigate::AddLine(const std::string& Caption, intptr_t Object) {
  m_lines.push_back(Caption);
  m_objects.push_back(Object);
  LinesChanged();
}

void TCustomNavigate::SetLines(const std::vector<std::string>& Value) {
  m_lines = Value;
  m_objects.assign(Value.size(), 0);
  LinesChanged();
  ArrangeControls(nullptr);
  RequestRepaint();
}

void TCustomNavigate::SetSelectLinear(bool Value) {
  FSelectLinear = Value;
  FList->FSelectLinear = Value;
  RequestRepaint();
}

void TCustomNavigate::SetPrevNextVisible(bool Value) {
  FPrevNextVisible = Value;
  FPrevButton.visible = FNextButton.visible = Value;
  FBracketLeft.visible = FBracketRight.visible = Value;
  ArrangeControls(nullptr);
}

void TCustomNavigate::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  FList->FHeights.SetMultiLine(Value);
  LinesChanged();
}

void TCustomNavigate::SetChineseChars(bool Value) {
  if (Value == FChineseChars) return;
  FChineseChars = Value;
  FList->FHeights.SetChineseChars(Value);
  LinesChanged();
}

std::string TCustomNavigate::GetButtonHint(int Index) const {
  if (Index == 0) return FPrevButton.hint;
  if (Index == 1) return FNextButton.hint;
  return std::string();
}

void TCustomNavigate::SetButtonHint(int Index, const std::string& Value) {
  NavigateChild& button = Index == 1 ? FNextButton : FPrevButton;
  button.hint = Value;
  if (!Value.empty()) {
    button.showHint = true;
    button.parentShowHint = false;
  } else {
    button.parentShowHint = true;
    button.showHint = m_showHint;
  }
}

void TCustomNavigate::SetItemIndex(int Index) {
  FList->SelectItem(Index);
  UpdatePrevNextButtons();
}

void TCustomNavigate::SetFocused(bool focused) {
  if (focused == m_focused) return;
  m_focused = focused;
  RequestRepaint();
}

void TCustomNavigate::ShowAsCurrent(int Index) {
  if (Index < 0 || Index >= FList->FHeights.Count() || Index == FList->FItemIndex) return;
  FList->FItemIndex = Index;
  FList->FHotIndex = Index;
  RequestRepaint();
  UpdatePrevNextButtons();
}

void TCustomNavigate::SetItemEnabled(int Index, bool Enabled) {
  FList->FHeights.SetEnabled(Index, Enabled);
  LinesChanged();
}

void TCustomNavigate::SetBounds(int NewWidth, int NewHeight) {
  if (NewWidth == m_width && NewHeight == m_height) return;
  m_width = NewWidth;
  m_height = NewHeight;
  ArrangeControls(this);
}

void TCustomNavigate::ArrangeControls(void* Sender) {
  if (m_height < FMinHeight) m_height = FMinHeight;
  const int Width = m_width;
  const int Height = m_height;
  FUpButton.bounds = graphics::RectAt(FUpButton.bounds.left, FTopOffset + 3, Width - 46, 12);
  const int ListTop = FTopOffset + 15;
  int Bottom = Height;
  if (FPrevNextVisible) {
    for (NavigateChild* c : {&FBracketLeft, &FBracketRight}) {
      c->bounds = graphics::RectAt(c->bounds.left, Height - 28, c->bounds.width(), c->bounds.height());
    }
    for (NavigateChild* c : {&FPrevButton, &FNextButton}) {
      c->bounds = graphics::RectAt(c->bounds.left, Height - 27, c->bounds.width(), c->bounds.height());
    }
    Bottom = Height - 28;
  }
  Bottom -= 15;
  FDownButton.bounds = graphics::RectAt(FDownButton.bounds.left, Bottom, Width - 46, 12);
  FScrollBox.bounds = graphics::RectAt(0, ListTop, Width, Bottom - ListTop);

  TNavList& list = *FList;
  list.m_height = list.FHeights.TotalHeight();
  list.m_width = Width;
  list.FHeights.SetWidth(Width);
  list.RebuildItems(m_lines);

  const bool arrows = list.m_height > FScrollBox.bounds.height();
  FUpButton.visible = FDownButton.visible = arrows;
  if (!arrows) list.m_top = 0;
  RequestRepaint();

  if (Sender && FOnResize && !m_loading) FOnResize(this);
}

void TCustomNavigate::LinesChanged() {
  FList->RebuildItems(m_lines);
  UpdatePrevNextButtons();
  ArrangeControls(nullptr);
  RequestRepaint();
}

void TCustomNavigate::UpdatePrevNextButtons() {
  const int index = FList->FItemIndex;
  FPrevButton.enabled = index > 0 && FList->CanStepBy(-1);
  FNextButton.enabled = index < static_cast<int>(m_lines.size()) - 1 && FList->CanStepBy(+1);
  RequestRepaint();
}

void TCustomNavigate::SetTopOffset(int Value) {
  FTopOffset = Value;
  ArrangeControls(nullptr);
}

void TCustomNavigate::ScrollUp() {
  TNavList& list = *FList;
  if (list.m_top >= 0) return;
  list.m_top += std::min(-list.m_top, kScrollStep);
  RequestRepaint();
}

void TCustomNavigate::ScrollDown() {
  TNavList& list = *FList;
  const int excess = list.m_top + list.m_height - FScrollBox.bounds.height();
  if (excess <= 0) return;
  list.m_top -= std::min(kScrollStep, excess);
  RequestRepaint();
}

void TCustomNavigate::StartAutoScroll(NavigatePart Arrow) {
  const bool up = Arrow == NavigatePart::kUp;
  if (up) {
    ScrollUp();
  } else {
    ScrollDown();
  }
  m_timerAction = [this, up] { up ? ScrollUp() : ScrollDown(); };
  if (m_host) m_host->TimerChanged();
}

void TCustomNavigate::StopAutoScroll() {
  m_timerAction = nullptr;
  if (m_host) m_host->TimerChanged();
}

void TCustomNavigate::RepeatTimerTick() {
  if (m_timerAction) m_timerAction();
}

void TCustomNavigate::ForwardMouseMove(void* Sender, int Shift, int X, int Y, bool fromScrollBox) {
  if (fromScrollBox) {
    X += FScrollBox.bounds.left;
    Y += FScrollBox.bounds.top;
  }
  if (OnMouseMove) OnMouseMove(Sender, Shift, X, Y);
}

void TCustomNavigate::ForwardChildMouseMove(const NavigateChild& Child, void* Sender, int Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(Sender, Shift, X + Child.bounds.left, Y + Child.bounds.top);
}

void TCustomNavigate::SetHintText(const std::string& Value) {
  if (Value == m_hintText) return;
  m_hintText = Value;
  if (m_host) m_host->PointerStateChanged();
}

void TCustomNavigate::RequestRepaint() {
  if (m_host) m_host->Repaint();
}

void TCustomNavigate::RequestListRepaint(const graphics::Rect& area) {
  if (!m_host) return;
  // Only what the box shows of the area.
  const graphics::Point origin = ListOrigin();
  const graphics::Rect box = FScrollBox.bounds;
  const graphics::Rect r{std::max(area.left + origin.x, box.left), std::max(area.top + origin.y, box.top),
                         std::min(area.right + origin.x, box.right), std::min(area.bottom + origin.y, box.bottom)};
  if (r.right > r.left && r.bottom > r.top) m_host->RepaintRect(r);
}

graphics::Point TCustomNavigate::ListOrigin() const {
  const graphics::Rect list = FList->Bounds();
  return graphics::Point{FScrollBox.bounds.left + list.left, FScrollBox.bounds.top + list.top};
}

const NavigateChild& TCustomNavigate::Child(NavigatePart Part) const {
  static const NavigateChild kNoChild{{}, false, false, {}, false, false};
  switch (Part) {
    case NavigatePart::kScrollBox: return FScrollBox;
    case NavigatePart::kUp: return FUpButton;
    case NavigatePart::kDown: return FDownButton;
    case NavigatePart::kPrev: return FPrevButton;
    case NavigatePart::kNext: return FNextButton;
    case NavigatePart::kBracketLeft: return FBracketLeft;
    case NavigatePart::kBracketRight: return FBracketRight;
    case NavigatePart::kLogo: return FLogo;
    default: return kNoChild;
  }
}

void TCustomNavigate::ListCursorChanged() {
  if (m_host) m_host->PointerStateChanged();
}

TKelvaNavigate::TKelvaNavigate(NavigateHost* Host) : TCustomNavigate(Host) {
  SetTopOffset(138);
  FMinHeight = 250;
  FLogo.bounds = graphics::RectAt(20, 123, 84, 15);
  FLogo.visible = true;
}

void TKelvaNavigate::ArrangeControls(void* Sender) {
  if (m_width != kWidth) m_width = kWidth;
  TCustomNavigate::ArrangeControls(Sender);
}

void TKelvaNavigate::SetKelvaVisible(bool Value) {
  FLogo.visible = Value;
  RequestRepaint();
}
