#include "navigate/navlist.h"

#include "navigate/navigate.h"

TNavList::TNavList(TCustomNavigate* Navigate)
    : FNavigate(Navigate), FHeights(Navigate->Width(), nullptr), m_width(Navigate->Width()) {}

bool TNavList::CanSelect(int Index) const {
  return FHeights.GetEnabled(Index) && (!FSelectLinear || Index <= FMaxIndex + 1);
}

void TNavList::RebuildItems(const std::vector<std::string>& Lines) {
  std::vector<bool> disabled;
  for (int i = 0; i < FHeights.Count(); ++i) disabled.push_back(!FHeights.GetEnabled(i));
  FHeights.ClearItems();
  for (size_t i = 0; i < Lines.size(); ++i) {
    FHeights.AddLine(Lines[i].substr(0, TItemHeight::kMaxText));
    if (i < disabled.size() && disabled[i]) FHeights.SetEnabled(static_cast<int>(i), false);
  }
  m_height = FHeights.TotalHeight();
  FNavigate->RequestRepaint();
}

void TNavList::SelectItem(int Index) {
  const bool Allow = CanSelect(Index);
  bool AllowChange = Allow;
  if (Allow && FOnSelect) FOnSelect(this, Index, AllowChange);
  if (!Allow || !AllowChange) return;
  FItemIndex = Index;
  if (Index > FMaxIndex) FMaxIndex = Index;
  FHotIndex = Index;
  FNavigate->RequestRepaint();
  ScrollIntoView();
  FNavigate->UpdatePrevNextButtons();
  if (FNotebook && Index < FNotebook->PageCount()) FNotebook->SetPageIndex(Index);
  if (FOnPageChanged) FOnPageChanged(this);
}

void TNavList::StepBy(int Delta) {
  const int count = static_cast<int>(FNavigate->Lines().size());
  for (int i = FItemIndex;;) {
    i += Delta;
    const bool outside = i < 0 || i >= count;
    if (CanSelect(i)) {
      SelectItem(i);
      return;
    }
    if (outside) return;
  }
}

bool TNavList::CanStepBy(int Delta) const {
  const int count = static_cast<int>(FNavigate->Lines().size());
  for (int i = FItemIndex;;) {
    i += Delta;
    if (CanSelect(i)) return true;
    if (i < 0 || i >= count) return false;
  }
}

void TNavList::SelectPrevious() {
  if (FItemIndex > 0 && FItemIndex < FHeights.Count()) StepBy(-1);
}

void TNavList::SelectNext() {
  if (FItemIndex >= 0 && FItemIndex < FHeights.Count() - 1) StepBy(+1);
}

void TNavList::ListMouseDown(int X, int Y) {
  const int Index = FHeights.IndexAt(X, Y);
  if (Index >= 0 && (!FSelectLinear || Index <= FMaxIndex + 1)) SelectItem(Index);
}

graphics::Rect TNavList::ItemRect(int Index) const {
  return graphics::Rect{0, FHeights.ItemTop(Index), m_width, FHeights.ItemBottom(Index) + 1};
}

void TNavList::Paint(graphics::Canvas& Canvas, const graphics::Rect& Clip) {
  for (int i = 0; i < FHeights.Count(); ++i) {
    const graphics::Rect r = ItemRect(i);
    if (r.bottom > Clip.top && r.top < Clip.bottom) DrawItem(Canvas, i, i == FHotIndex);
  }
}

void TNavList::DrawItem(graphics::Canvas& Canvas, int Index, bool Hot) {
  using graphics::SystemColor;
  const int T = FHeights.ItemTop(Index);
  const int B = FHeights.ItemBottom(Index);
  const int L = FHeights.GetLineCount(Index);
  const int W = m_width;
  std::string caption = FHeights.GetText(Index) + '\r';
  const bool selectable = CanSelect(Index);
  const graphics::Color face = Canvas.SystemColorOf(SystemColor::kButtonFace);
  const graphics::Color window = Canvas.SystemColorOf(SystemColor::kWindow);

  Canvas.SetBrushColor(face);
  Canvas.FillRect({0, T, W, T + 2});
  Canvas.FillRect({0, B - 2, W, B});
  const bool lit = Index == FItemIndex ? selectable : (Hot && selectable);
  Canvas.SetBrushColor(lit ? window : face);
  Canvas.FillRect({0, T + 4, W, T + 15 * L + 5});

  const graphics::Color text = selectable ? graphics::kBlack : graphics::kGray;
  Canvas.SetFontColor(text);
  Canvas.SetFontBold(Index == FItemIndex);
  Canvas.SetPenColor(text);
  Canvas.Polyline({{39, T + 1}, {35, T + 1}, {35, T + 15 * L + 7}, {39, T + 15 * L + 7}});

  int y = T + 6;
  for (int pieces = 0;; ++pieces) {
    const size_t cr = caption.find('\r');
    if (cr == std::string::npos) break;
    if (pieces == 200) {
      Canvas.TextOut(42, y, "#ERR#");
      break;
    }
    Canvas.TextOut(42, y, caption.substr(0, cr));
    caption.erase(0, cr + 1);
    y += 15;
  }
  // With the keyboard focus, a dotted frame shows the current step.
  if (Index == FItemIndex && FNavigate->Focused()) {
    const graphics::Rect f{40, T + 4, W - 2, T + 15 * L + 5};
    Canvas.SetBrushColor(graphics::kBlack);
    for (int x = f.left; x < f.right; x += 2) {
      Canvas.FillRect({x, f.top, x + 1, f.top + 1});
      Canvas.FillRect({x, f.bottom - 1, x + 1, f.bottom});
    }
    for (int y2 = f.top; y2 < f.bottom; y2 += 2) {
      Canvas.FillRect({f.left, y2, f.left + 1, y2 + 1});
      Canvas.FillRect({f.right - 1, y2, f.right, y2 + 1});
    }
  }
}

void TNavList::ListMouseMove(void* Sender, int Shift, int X, int Y) {
  const int N = FHeights.IndexAt(X, Y);
  const bool selectable = CanSelect(N);
  if (N >= 0 && selectable && N != FHotIndex) {
    const std::vector<std::string>& hints = FNavigate->Hints();
    if (N < static_cast<int>(hints.size())) FNavigate->SetHintText(hints[static_cast<size_t>(N)]);
    m_handCursor = true;
    FNavigate->ListCursorChanged();
  }
  if (!selectable) {
    m_handCursor = false;
    FNavigate->ListCursorChanged();
    FNavigate->SetHintText(std::string());
  }
  // Only the step that becomes hot and the one that was hot are drawn again.
  if (N != FHotIndex) {
    if (N >= 0 && selectable) FNavigate->RequestListRepaint(ItemRect(N));
    if (FHotIndex >= 0 && FHotIndex < FHeights.Count()) FNavigate->RequestListRepaint(ItemRect(FHotIndex));
  }
  FHotIndex = N;
  if (Sender) FNavigate->ForwardMouseMove(Sender, Shift, X + m_left, Y + m_top, /*fromScrollBox=*/true);
}

void TNavList::MouseLeave() { ListMouseMove(this, 0, -1, -1); }

void TNavList::ScrollIntoView() {
  const int Top0 = FHeights.ItemTop(FItemIndex);
  const int Bottom0 = Top0 + FHeights.GetItemHeight(FItemIndex);
  const int boxHeight = FNavigate->ScrollBoxHeight();
  if (m_top + Top0 < 0) {
    m_top = -Top0;
  } else if (m_top + Bottom0 > boxHeight) {
    m_top = boxHeight - Bottom0;
  } else {
    return;
  }
  FNavigate->RequestRepaint();
}

void TNavList::Notification(TNotebook* Removed) {
  if (Removed && FNotebook && Removed == FNotebook) FNotebook = nullptr;
}
