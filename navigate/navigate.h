#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "navigate/navlist.h"

// What the side-bar needs of the widget that hosts it. The Qt skin (and
// later the Win32 skin) implements it; tests record the calls.
class NavigateHost {
 public:
  virtual ~NavigateHost() = default;
  // The whole side-bar must be painted again.
  virtual void Repaint() = 0;
  // Part of the list (list coordinates) must be painted again.
  virtual void RepaintList(const graphics::Rect& area) = 0;
  // Child geometry, visibility, enabled state or hints changed.
  virtual void ChildrenChanged() = 0;
  // The list's cursor (hand or default) or the side-bar's hint text changed.
  virtual void PointerStateChanged() = 0;
  // The repeat timer was switched on or off.
  virtual void TimerChanged() = 0;
  // Measures captions in the side-bar's font.
  virtual graphics::Canvas* MeasureCanvas() = 0;
};

// One child control of the side-bar: its place and its state.
struct NavigateChild {
  graphics::Rect bounds;
  bool visible = true;
  bool enabled = true;
  std::string hint;
  bool showHint = false;
  bool parentShowHint = true;
};

// The step list of a wizard as a side-bar: scroll arrows, the list in a
// scroll box, previous/next buttons between brackets. Geometry and state are
// kept here; a host widget draws and forwards events.
class TCustomNavigate {
 public:
  explicit TCustomNavigate(NavigateHost* Host);
  virtual ~TCustomNavigate() = default;
  TCustomNavigate(const TCustomNavigate&) = delete;
  TCustomNavigate& operator=(const TCustomNavigate&) = delete;

  // After the owner's form is read: the caption is cleared, font changes
  // re-wrap the captions from now on.
  void Loaded();
  // The side-bar's font changed (after Loaded: re-wrap).
  void FontChanged();

  // Steps: every change re-wraps the captions (LinesChanged).
  const std::vector<std::string>& Lines() const { return m_lines; }
  const std::vector<intptr_t>& LineObjects() const { return m_objects; }
  void ClearLines();
  void AddLine(const std::string& Caption, intptr_t Object = 0);
  void SetLines(const std::vector<std::string>& Value);
  const std::vector<std::string>& Hints() const { return m_hints; }
  void SetHints(const std::vector<std::string>& Value) { m_hints = Value; }

  TNotebook* Notebook() const { return FList->FNotebook; }
  void SetNotebook(TNotebook* Value) { FList->FNotebook = Value; }
  bool SelectLinear() const { return FSelectLinear; }
  void SetSelectLinear(bool Value);
  void SetOnSelect(TTabChangeEvent Handler) { FList->FOnSelect = std::move(Handler); }
  void SetOnPageChanged(TNotifyEvent Handler) { FList->FOnPageChanged = std::move(Handler); }
  std::string HintPrevious() const { return GetButtonHint(0); }
  void SetHintPrevious(const std::string& Value) { SetButtonHint(0, Value); }
  std::string HintNext() const { return GetButtonHint(1); }
  void SetHintNext(const std::string& Value) { SetButtonHint(1, Value); }
  bool PrevNextVisible() const { return FPrevNextVisible; }
  void SetPrevNextVisible(bool Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool ChineseChars() const { return FChineseChars; }
  void SetChineseChars(bool Value);
  std::string GetButtonHint(int Index) const;
  void SetButtonHint(int Index, const std::string& Value);

  int ItemIndex() const { return FList->FItemIndex; }
  // Selects like a click: OnSelect may refuse; an unselectable step is ignored.
  void SetItemIndex(int Index);
  // Ignored outside the steps; the current step stays current.
  void SetItemEnabled(int Index, bool Enabled);

  // Size of the side-bar; a change runs the layout pass.
  void SetBounds(int NewWidth, int NewHeight);
  virtual void ArrangeControls(void* Sender);
  void LinesChanged();
  void UpdatePrevNextButtons();
  void SetTopOffset(int Value);

  void ScrollUp();
  void ScrollDown();
  // The pointer enters (Arrow = &FUpButton or &FDownButton) or leaves an arrow.
  void StartAutoScroll(const NavigateChild* Arrow);
  void StopAutoScroll();
  // A tick of the 100 ms repeat timer.
  void RepeatTimerTick();
  bool RepeatTimerEnabled() const { return static_cast<bool>(m_timerAction); }

  // A move over a child at (X, Y) in its own coordinates reaches OnMouseMove
  // in side-bar coordinates; fromScrollBox marks a move the list passed on.
  void ForwardMouseMove(void* Sender, int Shift, int X, int Y, bool fromScrollBox = false);
  void ForwardChildMouseMove(const NavigateChild& Child, void* Sender, int Shift, int X, int Y);

  // The hint text the side-bar shows, and its switch.
  const std::string& HintText() const { return m_hintText; }
  void SetHintText(const std::string& Value);
  bool ShowHint = true;

  // Requests towards the host.
  void RequestRepaint();
  void RequestListRepaint(const graphics::Rect& area);
  void ListCursorChanged();
  int ScrollBoxHeight() const { return FScrollBox.bounds.height(); }

  void Paint(graphics::Canvas& Canvas, const graphics::Rect& ListClip) {
    FList->Paint(Canvas, ListClip);
  }

  TNotifyEvent FOnResize;
  TMouseMoveEvent OnMouseMove;

  int Width = 143;
  int Height = 100;
  std::unique_ptr<TNavList> FList;
  NavigateChild FScrollBox;
  NavigateChild FUpButton;
  NavigateChild FDownButton;
  NavigateChild FPrevButton;
  NavigateChild FNextButton;
  NavigateChild FBracketLeft;
  NavigateChild FBracketRight;
  bool FSelectLinear = true;
  bool FPrevNextVisible = true;
  int FTopOffset = 0;
  int FMinHeight = 112;
  bool FMultiLine = true;
  bool FChineseChars = false;
  bool Loading = true;

 protected:
  NavigateHost* m_host;

 private:
  std::vector<std::string> m_lines;
  std::vector<intptr_t> m_objects;
  std::vector<std::string> m_hints;
  std::string m_hintText;
  std::function<void()> m_timerAction;
};

// The side-bar with the maker's logo: 143 pixels wide, at least 250 high.
class TKelvaNavigate : public TCustomNavigate {
 public:
  explicit TKelvaNavigate(NavigateHost* Host);

  void ArrangeControls(void* Sender) override;
  bool KelvaVisible() const { return FLogo.visible; }
  void SetKelvaVisible(bool Value);

  NavigateChild FLogo;
};
