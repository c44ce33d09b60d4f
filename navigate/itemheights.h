#pragma once

#include <memory>
#include <string>
#include <vector>

namespace graphics {
class Canvas;
}

class TListHeights;

// One step of the side-bar: its wrapped caption, line count and height.
class TItemHeight {
 public:
  static constexpr size_t kMaxText = 80;
  static constexpr int kLinePitch = 15;

  // Wraps the first 80 characters of Text for Owner's width and switches.
  TItemHeight(TListHeights* Owner, const std::string& Text);

  // Sets FText, FLineCount and, when wrapping onto several lines, FHeight.
  void WrapText(const std::string& Text);

  int LineCount() const { return FLineCount; }
  int Height() const { return FHeight; }
  // The wrapped caption, lines separated by carriage returns.
  const std::string& Text() const { return FText; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }

 private:
  TListHeights* FOwner;
  int FLineCount = 1;
  int FHeight = 22;
  std::string FText;
  bool FEnabled = true;
};

// The steps in order, the measuring context, and the geometry shared by
// painting and hit testing.
class TListHeights {
 public:
  static constexpr int kGap = 7;

  // Canvas (not owned) measures captions in the list's font.
  TListHeights(int Width, graphics::Canvas* Canvas);

  void AddLine(const std::string& Text);
  void ClearItems();
  int Count() const { return static_cast<int>(m_items.size()); }

  // Neutral answers outside 0 .. Count() - 1: nullptr, 1, 0, "", false.
  TItemHeight* GetItem(int Index) const;
  int GetLineCount(int Index) const;
  int GetItemHeight(int Index) const;
  std::string GetText(int Index) const;
  bool GetEnabled(int Index) const;
  void SetEnabled(int Index, bool Value);

  int ItemTop(int Index) const;
  int ItemBottom(int Index) const;  // the last pixel row of the step
  int TotalHeight() const;
  int Width() const { return FWidth; }
  int TextAreaWidth() const { return FWidth - 46; }
  // The step under (X, Y), -1 over a gap, below the last step or outside.
  int IndexAt(int X, int Y) const;
  void SetWidth(int Value) { FWidth = Value; }

  // Width of Text as MeasureText gives it.
  int MeasureText(const std::string& Text) const;
  // The canvas that measures from now on (not owned); the next rebuild uses it.
  void SetCanvas(graphics::Canvas* Canvas) { FCanvas = Canvas; }

  // Wrapping switches; the next rebuild follows them.
  bool ChineseChars() const { return FChineseChars; }
  void SetChineseChars(bool Value) { FChineseChars = Value; }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { FMultiLine = Value; }

 private:
  int FWidth;
  graphics::Canvas* FCanvas;
  bool FChineseChars = false;
  bool FMultiLine = true;
  std::vector<std::unique_ptr<TItemHeight>> m_items;
};
