#pragma once
// What a screen reader in another process learns of setup.exe: the
// accessible objects of its windows (Active Accessibility) and the window
// events it raises.
#include "tests/win32harness/harness.h"

#include <oleacc.h>

#include <string>
#include <vector>

namespace harness {

// One object as a screen reader reads it: the object of a window, or a
// simple child (child != CHILDID_SELF) of it.
struct AccNode {
  int depth = 0;
  HWND window = nullptr;
  LONG child = CHILDID_SELF;
  bool read = false;  // the object answered at all
  std::string name;
  std::string value;
  bool hasValue = false;
  LONG role = 0;
  LONG state = 0;
};

// The tree below a window's client object. Every object's children come
// from AccessibleChildren; a child that stands for a window of its own (the
// window's object, which Wine answers with its window and nothing else) is
// read through that window's client object, as a screen reader does one
// level down. An invisible object is listed without its children.
std::vector<AccNode> ReadTree(HWND window);

// The object an event names (AccessibleObjectFromEvent).
AccNode ReadEventObject(HWND window, LONG objectId, LONG child);
// The client object of a window itself.
AccNode ReadClient(HWND window);

// "push button", "focused selected": the system's texts for a role and the
// bits of a state.
std::string RoleText(LONG role);
std::string StateText(LONG state);
// One line: the control's name, role, accessible name, value and state.
std::string Describe(const AccNode& node);

// A window event of setup.exe.
struct WinEvent {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};

// Records the window events of one process from the driver. The hook runs
// out of context: its events arrive as messages to the driver's thread, so
// the driver passes messages while it waits (Pump, Poll).
class EventRecorder {
 public:
  EventRecorder();
  ~EventRecorder();
  EventRecorder(const EventRecorder&) = delete;
  EventRecorder& operator=(const EventRecorder&) = delete;

  bool Hooked() const { return m_hook != nullptr; }
  // Only the events of this process's windows are kept from now on.
  void Follow(DWORD pid);
  const std::vector<WinEvent>& Events() const;
  // The newest EVENT_OBJECT_FOCUS, or null when there was none.
  const WinEvent* LastFocus() const;

 private:
  HWINEVENTHOOK m_hook = nullptr;
};

}  // namespace harness
