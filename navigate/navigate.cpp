#include "navigate/navigate.h"

#include <algorithm>

namespace {

constexpr int kScrollStep = 8;

}  // namespace

TCustomNavigate::TCustomNavigate(NavigateHost* Host) : m_host(Host) {
  // The children as created; the first layout pass places them again.
  FUpButton.bounds = graphics::RectAt(36, FTopOffset + 3, Width - 46, 12);
  FBracketLeft.bounds = graphics::RectAt(36, Height - 28, 4, 22);
  FBracketRight.bounds = graphics::RectAt(115, Height - 28, 4, 22);
  FPrevButton.bounds = graphics::RectAt(37, Height - 27, 27, 20);
  FNextButton.bounds = graphics::RectAt(91, Height - 27, 27, 20);
  FPrevButton.enabled = false;
  FNextButton.enabled = false;
  FDownButton.bounds = graphics::RectAt(36, Height - 43, Width - 46, 12);
  FScrollBox.bounds =
      graphics::RectAt(0, FTopOffset + 15, Width, (Height - 43) - (FTopOffset + 15));
  FList = std::make_unique<TNavList>(this);
  FList->FHeights.FCanvas = Host ? Host->MeasureCanvas() : nullptr;
  FList->Width = Width;
  FList->Height = 150;
}

void TCustomNavigate::Loaded() {
  Loading = false;
  RequestRepaint();
}

void TCustomNavigate::FontChanged() {
  if (!Loading) LinesChanged();
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
  FList->FHeights.FMultiLine = Value;
  LinesChanged();
}

void TCustomNavigate::SetChineseChars(bool Value) {
  if (Value == FChineseChars) return;
  FChineseChars = Value;
  FList->FHeights.FChineseChars = Value;
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
    button.showHint = ShowHint;
  }
  if (m_host) m_host->ChildrenChanged();
}

void TCustomNavigate::SetItemIndex(int Index) {
  FList->SelectItem(Index);
  UpdatePrevNextButtons();
}

void TCustomNavigate::SetItemEnabled(int Index, bool Enabled) {
  FList->FHeights.SetEnabled(Index, Enabled);
  LinesChanged();
}

void TCustomNavigate::SetBounds(int NewWidth, int NewHeight) {
  if (NewWidth == Width && NewHeight == Height) return;
  Width = NewWidth;
  Height = NewHeight;
  ArrangeControls(this);
}

void TCustomNavigate::ArrangeControls(void* Sender) {
  if (Height < FMinHeight) Height = FMinHeight;
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
  list.Height = list.FHeights.TotalHeight();
  list.Width = Width;
  list.FHeights.SetWidth(Width);
  list.RebuildItems(m_lines);

  const bool arrows = list.Height > FScrollBox.bounds.height();
  FUpButton.visible = FDownButton.visible = arrows;
  if (!arrows) list.Top = 0;
  if (m_host) m_host->ChildrenChanged();

  if (Sender && FOnResize && !Loading) FOnResize(this);
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
  if (m_host) m_host->ChildrenChanged();
}

void TCustomNavigate::SetTopOffset(int Value) {
  FTopOffset = Value;
  ArrangeControls(nullptr);
}

void TCustomNavigate::ScrollUp() {
  TNavList& list = *FList;
  if (list.Top >= 0) return;
  list.Top += std::min(-list.Top, kScrollStep);
  RequestRepaint();
}

void TCustomNavigate::ScrollDown() {
  TNavList& list = *FList;
  const int excess = list.Top + list.Height - FScrollBox.bounds.height();
  if (excess <= 0) return;
  list.Top -= std::min(kScrollStep, excess);
  RequestRepaint();
}

void TCustomNavigate::StartAutoScroll(const NavigateChild* Arrow) {
  const bool up = Arrow == &FUpButton;
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

void TCustomNavigate::ForwardChildMouseMove(const NavigateChild& Child, void* Sender, int Shift,
                                           int X, int Y) {
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
  if (m_host) m_host->RepaintList(area);
}

void TCustomNavigate::ListCursorChanged() {
  if (m_host) m_host->PointerStateChanged();
}

TKelvaNavigate::TKelvaNavigate(NavigateHost* Host) : TCustomNavigate(Host) {
  SetTopOffset(138);
  FMinHeight = 250;
  FLogo.bounds = graphics::RectAt(20, 123, 84, 15);
}

void TKelvaNavigate::ArrangeControls(void* Sender) {
  if (Width != 143) Width = 143;
  TCustomNavigate::ArrangeControls(Sender);
}

void TKelvaNavigate::SetKelvaVisible(bool Value) {
  FLogo.visible = Value;
  if (m_host) m_host->ChildrenChanged();
}
