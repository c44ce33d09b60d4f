#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "navigate/navlist.h"

// What the side-bar needs of the widget that hosts it. Each skin implements
// it; tests record the calls.
class NavigateHost {
 public:
  virtual ~NavigateHost() = default;
  // The whole side-bar must be painted again.
  virtual void Repaint() = 0;
  // Part of the side-bar (its own coordinates) must be painted again.
  virtual void RepaintRect(const graphics::Rect& area) = 0;
  // The cursor over the side-bar (HandCursorAt) or its hint text changed.
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

// The children of the side-bar. PartAt answers kList over the list (a step
// or a gap between steps), kScrollBox over the box below the list, a button
// only while it is enabled, and never a bracket.
enum class NavigatePart { kNone, kList, kScrollBox, kUp, kDown, kPrev, kNext, kBracketLeft, kBracketRight, kLogo };

// The step list of a wizard as a side-bar: scroll arrows, the list in a
// scroll box, previous/next buttons between brackets. Geometry, state,
// painting and the pointer's effects are kept here; a host widget provides a
// canvas and forwards the pointer and the repeat timer.
class TCustomNavigate {
 public:
  // The width the side-bar is made with (and the branded one keeps).
  static constexpr int kWidth = 143;
  // The repeat timer's interval while the pointer rests on a scroll arrow.
  static constexpr int kRepeatInterval = 100;  // milliseconds

  explicit TCustomNavigate(NavigateHost* Host);
  virtual ~TCustomNavigate() = default;
  TCustomNavigate(const TCustomNavigate&) = delete;
  TCustomNavigate& operator=(const TCustomNavigate&) = delete;

  // After the owner's form is read: the caption is cleared, font changes
  // re-wrap the captions from now on.
  void Loaded();
  // The side-bar's font changed: captions are measured on the host's
  // MeasureCanvas from now on and, after Loaded, wrapped again.
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
  void SetOnResize(TNotifyEvent Handler) { FOnResize = std::move(Handler); }
  // Moves over the list, the box, the previous/next buttons, the logo and the
  // bare side-bar, in side-bar coordinates, with the child under the pointer
  // as Sender (the side-bar itself over its bare parts).
  void SetOnMouseMove(TMouseMoveEvent Handler) { OnMouseMove = std::move(Handler); }
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
  // Whether the side-bar holds the keyboard focus (its skin says so); the
  // current step then shows a focus frame.
  void SetFocused(bool focused);
  bool Focused() const { return m_focused; }
  // Marks a step as the current one without selecting it (no OnSelect):
  // the copy page shows its step while the copy runs inside OnSelect.
  void ShowAsCurrent(int Index);

  // Size of the side-bar; a change runs the layout pass.
  void SetBounds(int NewWidth, int NewHeight);
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // The height below which the layout raises the side-bar's height.
  int MinHeight() const { return FMinHeight; }
  virtual void ArrangeControls(void* Sender);
  void LinesChanged();
  void UpdatePrevNextButtons();
  void SetTopOffset(int Value);

  // The list and the children as they are now.
  const TNavList& List() const { return *FList; }
  TNavList& List() { return *FList; }
  const NavigateChild& Child(NavigatePart Part) const;
  // Where the list's origin lies in side-bar coordinates.
  graphics::Point ListOrigin() const;
  int ScrollBoxHeight() const { return FScrollBox.bounds.height(); }

  void ScrollUp();
  void ScrollDown();
  // The pointer enters (kUp or kDown) or leaves a scroll arrow.
  void StartAutoScroll(NavigatePart Arrow);
  void StopAutoScroll();
  // A tick of the repeat timer.
  void RepeatTimerTick();
  bool RepeatTimerEnabled() const { return static_cast<bool>(m_timerAction); }

  // The pointer, in side-bar coordinates. A press with any button on a step
  // selects it; a press with the primary button on a button holds it down,
  // and its release over the same button clicks it.
  NavigatePart PartAt(int X, int Y) const;
  void MouseDown(int X, int Y, bool Primary);
  void MouseUp(int X, int Y);
  void MouseMove(int X, int Y, int Shift);
  void MouseLeave();
  // The action of a button: scroll, or the previous or next step.
  void Click(NavigatePart Part);
  // The button held down, kNone when none is.
  NavigatePart PressedPart() const { return m_pressed; }
  // The hint to show for the pointer at (X, Y), empty for none.
  std::string HintAt(int X, int Y) const;
  // The hand cursor belongs at (X, Y): a choosable step, previous or next.
  bool HandCursorAt(int X, int Y) const;

  // A move over a child at (X, Y) in its own coordinates reaches OnMouseMove
  // in side-bar coordinates; fromScrollBox marks a move the list passed on.
  void ForwardMouseMove(void* Sender, int Shift, int X, int Y, bool fromScrollBox = false);
  void ForwardChildMouseMove(const NavigateChild& Child, void* Sender, int Shift, int X, int Y);

  // The hint text of the step under the pointer, and the side-bar's switch.
  const std::string& HintText() const { return m_hintText; }
  void SetHintText(const std::string& Value);
  bool ShowHint() const { return m_showHint; }
  void SetShowHint(bool Value) { m_showHint = Value; }

  // Requests towards the host.
  void RequestRepaint();
  void RequestListRepaint(const graphics::Rect& area);
  void ListCursorChanged();

  // Paints the visible children over the side-bar's background (the host's
  // surface): arrows, previous/next buttons, brackets, logo, and the steps
  // that meet Update (side-bar coordinates), clipped by their box.
  void Paint(graphics::Canvas& Canvas, const graphics::Rect& Update);

 protected:
  NavigateHost* m_host;
  int m_width = kWidth;
  int m_height = 100;
  int FMinHeight = 112;
  NavigateChild FLogo;

 private:
  void PaintButton(graphics::Canvas& Canvas, NavigatePart Part, const graphics::Picture& Glyph);

  TNotifyEvent FOnResize;
  TMouseMoveEvent OnMouseMove;
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
  bool FMultiLine = true;
  bool FChineseChars = false;
  bool m_loading = true;
  bool m_showHint = true;
  bool m_focused = false;

  std::vector<std::string> m_lines;
  std::vector<intptr_t> m_objects;
  std::vector<std::string> m_hints;
  std::string m_hintText;
  std::function<void()> m_timerAction;
  NavigatePart m_hot = NavigatePart::kNone;
  NavigatePart m_pressed = NavigatePart::kNone;
};

// The side-bar with the maker's logo: 143 pixels wide, at least 250 high.
class TKelvaNavigate : public TCustomNavigate {
 public:
  explicit TKelvaNavigate(NavigateHost* Host);

  void ArrangeControls(void* Sender) override;
  bool KelvaVisible() const { return FLogo.visible; }
  void SetKelvaVisible(bool Value);
};
