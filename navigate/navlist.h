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
// painting, hover tracking and the one select procedure.
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
  graphics::Rect Bounds() const { return graphics::RectAt(Left, Top, Width, Height); }
  graphics::Rect ItemRect(int Index) const;

  TCustomNavigate* FNavigate;
  TListHeights FHeights;
  int FMaxIndex = 0;
  int FItemIndex = 0;
  int FHotIndex = 0;
  bool FSelectLinear = true;
  TTabChangeEvent FOnSelect;
  TNotifyEvent FOnPageChanged;
  TNotebook* FNotebook = nullptr;

  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 150;
  bool HandCursor = false;
};
