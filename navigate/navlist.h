#pragma once

#include <functional>
#include <string>

#include "graphics/canvas.h"
#include "navigate/itemheights.h"

class TCustomNavigate;

// Handler types of the side-bar.
using TTabChangeEvent = std::function<void(void* Sender, int NewTab, bool& AllowChange)>;
using TNotifyEvent = std::function<void(void* Sender)>;
using TMouseMoveEvent = std::function<void(void* Sender, int Shift, int X, int Y)>;

// A notebook whose page the side-bar may switch.
class TNotebook {
 public:
  virtual ~TNotebook() = default;
  virtual int PageCount() const = 0;
  virtual void SetPageIndex(int Index) = 0;
};

// The list of steps inside the side-bar's scroll box: the selection state,
// painting, hover tracking and the one select procedure. Its coordinates are
// its own; the side-bar places it in the box.
class TNavList {
 public:
  explicit TNavList(TCustomNavigate* Navigate);

  // Exists, is enabled, and (with SelectLinear) at most one past FMaxIndex.
  bool CanSelect(int Index) const;
  // Re-creates the items from the captions, keeping enabled flags by index.
  void RebuildItems(const std::vector<std::string>& Lines);

  // The select procedure: asks OnSelect, then makes Index current.
  void SelectItem(int Index);
  void StepBy(int Delta);
  bool CanStepBy(int Delta) const;
  void SelectPrevious();
  void SelectNext();
  // A press with any mouse button at (X, Y).
  void ListMouseDown(int X, int Y);

  // Paints the steps that meet clip (list coordinates).
  void Paint(graphics::Canvas& Canvas, const graphics::Rect& Clip);
  void DrawItem(graphics::Canvas& Canvas, int Index, bool Hot);
  // Pointer moves in list coordinates; Sender nullptr does not forward.
  void ListMouseMove(void* Sender, int Shift, int X, int Y);
  void MouseLeave();
  void ScrollIntoView();
  // The notebook being removed is forgotten.
  void Notification(TNotebook* Removed);

  // The list's rectangle within the scroll box.
  graphics::Rect Bounds() const { return graphics::RectAt(m_left, m_top, m_width, m_height); }
  graphics::Rect ItemRect(int Index) const;
  const TListHeights& Heights() const { return FHeights; }
  int ItemIndex() const { return FItemIndex; }
  int MaxIndex() const { return FMaxIndex; }
  // The step drawn as under the pointer, -1 for none.
  int HotIndex() const { return FHotIndex; }
  // The pointer rests on a step that can be chosen.
  bool HandCursor() const { return m_handCursor; }

 private:
  // The side-bar keeps the list's place, size and settings.
  friend class TCustomNavigate;

  TCustomNavigate* FNavigate;
  TListHeights FHeights;
  int FMaxIndex = 0;
  int FItemIndex = 0;
  int FHotIndex = 0;
  bool FSelectLinear = true;
  TTabChangeEvent FOnSelect;
  TNotifyEvent FOnPageChanged;
  TNotebook* FNotebook = nullptr;

  int m_left = 0;
  int m_top = 0;
  int m_width = 0;
  int m_height = 150;
  bool m_handCursor = false;
};
