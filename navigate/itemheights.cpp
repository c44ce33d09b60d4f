#include "navigate/itemheights.h"

#include "graphics/canvas.h"

namespace {

bool IsBreakCharacter(char c) { return c == '\r' || c == ' ' || c == '&' || c == '-' || c == ':'; }

constexpr int kMaxIterations = 200;

}  // namespace

TItemHeight::TItemHeight(TListHeights* Owner, const std::string& Text) : FOwner(Owner) {
  WrapText(Text.substr(0, kMaxText));
}

void TItemHeight::WrapText(const std::string& Text) {
  // Positions are counted from 1, as the wrapping rules state them.
  FLineCount = 1;
  std::string S = Text.substr(0, kMaxText);
  size_t Start = 1;
  size_t Len = 0;
  size_t LastBreak = 1;
  int Iter = 0;
  const bool multiLine = FOwner->MultiLine();
  const bool chinese = FOwner->ChineseChars();
  const std::string Suffix = multiLine ? "" : " ..";
  const int limit = FOwner->TextAreaWidth() - 11;
  const auto at = [&S](size_t p) { return S[p - 1]; };

  while (Start + Len <= S.size() && Iter < kMaxIterations) {
    ++Iter;
    size_t Step = 1;
    if (chinese) {
      const size_t P = Start + Len;
      if (static_cast<unsigned char>(at(P)) >= 128 && S.size() >= P + 2) Step = 2;
    }
    Len += Step;
    const int W = FOwner->MeasureText(S.substr(Start - 1, Len) + Suffix);
    if (W <= limit) {
      const size_t P = Start + Len;
      if (P <= S.size() && !chinese && IsBreakCharacter(at(P))) LastBreak = P;
      continue;
    }
    if (chinese || LastBreak == Start) {
      Len -= Step;
    } else {
      Len = LastBreak - Start;
    }
    if (!multiLine) {
      S = Len < S.size() ? (S.substr(0, Len) + " ..").substr(0, kMaxText) : S.substr(0, Len);
      FText = S;
      return;
    }
    ++FLineCount;
    Start += Len;
    Len = 0;
    if (Start <= S.size()) {
      if (at(Start) == ' ') {
        S[Start - 1] = '\r';
      } else if (at(Start) != '\r') {
        S.insert(Start - 1, 1, '\r');
        if (S.size() > kMaxText) S.resize(kMaxText);
      }
    }
    Start += 1;
    LastBreak = Start;
  }
  if (Iter == kMaxIterations) S = "Error";
  FText = S;
  FHeight = FLineCount * kLinePitch + 7;
}

TListHeights::TListHeights(int Width, graphics::Canvas* Canvas) : FWidth(Width), FCanvas(Canvas) {}

void TListHeights::AddLine(const std::string& Text) {
  m_items.push_back(std::make_unique<TItemHeight>(this, Text.substr(0, TItemHeight::kMaxText)));
}

void TListHeights::ClearItems() {
  while (!m_items.empty()) m_items.pop_back();
}

TItemHeight* TListHeights::GetItem(int Index) const {
  return Index >= 0 && Index < Count() ? m_items[static_cast<size_t>(Index)].get() : nullptr;
}

int TListHeights::GetLineCount(int Index) const {
  const TItemHeight* item = GetItem(Index);
  return item ? item->LineCount() : 1;
}

int TListHeights::GetItemHeight(int Index) const {
  const TItemHeight* item = GetItem(Index);
  return item ? item->Height() : 0;
}

std::string TListHeights::GetText(int Index) const {
  const TItemHeight* item = GetItem(Index);
  return item ? item->Text() : std::string();
}

bool TListHeights::GetEnabled(int Index) const {
  const TItemHeight* item = GetItem(Index);
  return item && item->Enabled();
}

void TListHeights::SetEnabled(int Index, bool Value) {
  if (TItemHeight* item = GetItem(Index)) item->SetEnabled(Value);
}

int TListHeights::ItemTop(int Index) const {
  int top = kGap * Index;
  for (int i = 0; i < Index && i < Count(); ++i) top += m_items[static_cast<size_t>(i)]->Height();
  return top;
}

int TListHeights::ItemBottom(int Index) const { return ItemTop(Index) + GetItemHeight(Index) - 1; }

int TListHeights::TotalHeight() const { return ItemTop(Count()); }

int TListHeights::IndexAt(int X, int Y) const {
  if (X < 0 || X >= FWidth || m_items.empty()) return -1;
  int top = 0;
  for (int i = 0; i < Count(); ++i) {
    const int bottom = top + m_items[static_cast<size_t>(i)]->Height() - 1;
    if (Y >= top && Y <= bottom) return i;
    top = bottom + 1 + kGap;
  }
  return -1;
}

int TListHeights::MeasureText(const std::string& Text) const { return FCanvas ? FCanvas->TextWidth(Text) : 0; }
