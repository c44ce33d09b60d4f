// Keys reach setup.exe through SendInput, as a keyboard's do: into the input
// queue of the thread of the foreground window, so the program's own loop
// runs them through its key preview, IsDialogMessage and TranslateMessage.
// Under Wine the driver may make setup.exe's window the foreground window
// (SetForegroundWindow), and SendInput reaches it under Xvfb.
//
// After every key the focus must lie on a control that is shown, never on
// the hidden focus holder, and the object the newest focus event names must
// have a name. On arrival at each page the whole accessible tree of the main
// window is read and held against what the skin promises.
#include "tests/win32harness/keyrun.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/win32/navigateaccessible.h"
#include "setup/commandline.h"
#include "setup/layout.h"
#include "tests/win32harness/harness.h"
#include "tests/win32harness/screenreader.h"

using namespace harness;

namespace {

struct Key {
  WORD vk;
  bool shift;
  const char* name;
};
constexpr Key kTab{VK_TAB, false, "Tab"};
constexpr Key kShiftTab{VK_TAB, true, "Shift+Tab"};
constexpr Key kSpace{VK_SPACE, false, "Space"};
constexpr Key kReturn{VK_RETURN, false, "Return"};
constexpr Key kDown{VK_DOWN, false, "Down"};
constexpr Key kUp{VK_UP, false, "Up"};

constexpr int kStepCount = 5;

// The child id by which the side-bar's events name a step.
LONG StepChild(int step) { return win32skin::kStepChildBase + step + 1; }

bool EndsNoCase(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && SameNoCase(s.substr(s.size() - suffix.size()), suffix);
}

// "12%": the meter's value.
bool IsPercent(const std::string& v) {
  if (v.size() < 2 || v.size() > 4 || v.back() != '%') return false;
  for (size_t i = 0; i + 1 < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9') return false;
  }
  return std::atoi(v.c_str()) <= 100;
}

// A button's caption as a name: the first '&' marks the access key.
std::string WithoutAccessMark(std::string text) {
  const size_t amp = text.find('&');
  if (amp != std::string::npos) text.erase(amp, 1);
  return text;
}

// What a screen reader is told of each kind of control of the layout
// table: the system's object for a native control (its role follows the
// class), the skin's own object for a drawn one.
enum class Named { kOwnText, kLabel };
struct KindRule {
  ControlKind kind;
  const char* cls;
  LONG role;
  Named named;
  bool drawn;
};
constexpr KindRule kRules[] = {
    {ControlKind::kBanner, "SetupBanner", ROLE_SYSTEM_STATICTEXT, Named::kOwnText, true},
    {ControlKind::kHeading, "Static", ROLE_SYSTEM_STATICTEXT, Named::kOwnText, false},
    {ControlKind::kLabel, "Static", ROLE_SYSTEM_STATICTEXT, Named::kOwnText, false},
    {ControlKind::kPushButton, "Button", ROLE_SYSTEM_PUSHBUTTON, Named::kOwnText, false},
    {ControlKind::kSpeedButton, "Button", ROLE_SYSTEM_PUSHBUTTON, Named::kOwnText, false},
    {ControlKind::kCheckBox, "Button", ROLE_SYSTEM_CHECKBUTTON, Named::kOwnText, false},
    {ControlKind::kMemo, "Edit", ROLE_SYSTEM_TEXT, Named::kLabel, false},
    {ControlKind::kEdit, "Edit", ROLE_SYSTEM_TEXT, Named::kLabel, false},
    {ControlKind::kComboBox, "ComboBox", ROLE_SYSTEM_COMBOBOX, Named::kLabel, false},
    {ControlKind::kMeter, "SetupMeter", ROLE_SYSTEM_PROGRESSBAR, Named::kLabel, true},
};

const KindRule* RuleOf(ControlKind kind) {
  for (const KindRule& r : kRules) {
    if (r.kind == kind) return &r;
  }
  return nullptr;
}

// Whether the control answers WM_GETOBJECT with an object of its own, as
// Windows asks it before it falls back on the system's object. The object
// handed over is taken and let go, so none is left behind in the wizard.
bool AnswersForItself(HWND w) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 2000, &result) ||
      result == 0) {
    return false;
  }
  IAccessible* object = nullptr;
  if (SUCCEEDED(ObjectFromLresult(static_cast<LRESULT>(result), __uuidof(IAccessible), 0,
                                  reinterpret_cast<void**>(&object))) &&
      object) {
    object->Release();
  }
  return true;
}

// The name a screen reader on Windows gives the object read: Wine's generic
// object of a combo box or list box of another process carries its value,
// where Windows names the control by the static label just before it among
// its siblings (or not at all), unless the control answers for itself.
std::string NameOnWindows(HWND w, const AccNode& node) {
  const std::string cls = ClassOf(w);
  if (node.role != ROLE_SYSTEM_CLIENT || !(SameNoCase(cls, "ComboBox") || SameNoCase(cls, "ListBox"))) return node.name;
  if (AnswersForItself(w)) return node.name;
  const HWND label = GetWindow(w, GW_HWNDPREV);
  return label && SameNoCase(ClassOf(label), "Static") && IsWindowVisible(label) ? Text(label) : std::string();
}

// How the run came to the page it checks: on the same step, by a change of
// step, or by one while the side-bar held the focus.
enum class StepChange { kNone, kChanged, kOnSideBar };

class KeyboardRun {
 public:
  bool Start(const std::string& exe) {
    if (!m_events.Hooked()) return Fail("the window-event hook could not be set");
    if (!m_wizard.Start(exe, [this](DWORD pid) { m_events.Follow(pid); })) return false;
    std::printf("input: SendInput to the foreground window\n");
    return CheckFocus("(start)");
  }

  WizardProcess& Wizard() { return m_wizard; }
  HWND Ctrl(Control c) const { return m_wizard.Ctrl(ControlId(c)); }

  HWND Focus() const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(m_wizard.ThreadId(), &gui) ? gui.hwndFocus : nullptr;
  }
  bool Focused(HWND w) const { return w && Focus() == w; }

  // Presses a key and waits until `expect` holds, then checks the focus.
  template <typename Cond>
  bool Press(const Key& key, const std::string& what, Cond expect) {
    if (!Send(key)) return false;
    if (!Poll(expect, kStepMs)) {
      const HWND focus = Focus();
      const HWND box = m_wizard.Box();
      std::printf("(page %d, the focus on %s%s%s)\n", m_wizard.CurrentPage(),
                  focus ? ControlNameOf(focus).c_str() : "nothing", box ? ", message: " : "",
                  box ? BoxText(box).c_str() : "");
      return Fail("after %s: expected %s", key.name, what.c_str());
    }
    return CheckFocus(key.name);
  }

  bool PressTo(const Key& key, HWND target) {
    return Press(key, "the focus on " + ControlNameOf(target), [&] { return Focused(target); });
  }

  // Moves the selection of a combo box (or list box) to the item `target`
  // gives by arrow keys, one key at a time; `shown(i)` is what the window
  // shows once item i is chosen.
  template <typename Target, typename Shown>
  bool ArrowTo(HWND box, bool list, Target target, Shown shown) {
    const UINT getSel = list ? LB_GETCURSEL : CB_GETCURSEL;
    for (int moves = 0; moves < 30; ++moves) {
      const int want = target();
      const int at = static_cast<int>(Ask(box, getSel));
      if (want < 0) return Fail("%s offers no item to choose", ControlNameOf(box).c_str());
      if (at == want) return true;
      const Key& key = at < want ? kDown : kUp;
      const int next = at + (at < want ? 1 : -1);
      if (!Press(key, ControlNameOf(box) + " on item " + std::to_string(next),
                 [&] { return Ask(box, getSel) == next && shown(next); })) {
        return false;
      }
    }
    return Fail("%s: the arrow keys did not reach the item", ControlNameOf(box).c_str());
  }

  // Tab towards `target`: false, and no failure, when the focus stays.
  bool TabReaches(HWND target) {
    const HWND before = Focus();
    if (!Send(kTab)) return false;
    if (!Poll([&] { return Focus() != before; }, 1500)) return false;
    if (Focused(target)) return CheckFocus(kTab.name);
    return Fail("Tab took the focus to %s, expected %s", ControlNameOf(Focus()).c_str(), ControlNameOf(target).c_str());
  }

  // The newest focus event names this object.
  bool FocusEventNames(HWND window, LONG child) const {
    const WinEvent* last = m_events.LastFocus();
    return last && last->window == window && last->child == child;
  }

  // Tab, one key at a time, each taking the focus on, until `target` has it.
  bool TabTo(HWND target) {
    for (int presses = 0; presses < 6 && !Focused(target); ++presses) {
      const HWND before = Focus();
      if (!Press(kTab, "the focus to move on", [&] { return Focus() != before; })) return false;
    }
    return Focused(target) || Fail("Tab does not reach %s", ControlNameOf(target).c_str());
  }

  // The focus after a key (or after what the program did by itself).
  bool CheckFocus(const char* key) {
    if (m_wizard.Ended()) {
      std::printf("key: %s -> setup.exe ended\n", key);
      return true;
    }
    const HWND focus = Focus();
    if (!focus) return Fail("after %s no window of setup.exe has the focus", key);
    const std::string control = ControlNameOf(focus);
    RECT r{};
    GetWindowRect(focus, &r);
    if (control == ControlName(Control::nutzloser_Button)) {
      return Fail("after %s the focus is on the hidden focus holder %s", key, control.c_str());
    }
    if (!IsWindowVisible(focus) || r.right <= r.left || r.bottom <= r.top) {
      return Fail("after %s the focus is on %s, which is not shown", key, control.c_str());
    }
    // The object a screen reader reads: the one the newest focus event names.
    WinEvent event{};
    if (!Poll(
            [&] {
              const WinEvent* last = m_events.LastFocus();
              if (last) event = *last;
              return last && last->window == focus;
            },
            2000)) {
      return Fail("after %s the focus is on %s, but no focus event named it (the newest named %s)", key,
                  control.c_str(), event.window ? ControlNameOf(event.window).c_str() : "nothing");
    }
    // A control may name its focused part in an event of its own once the
    // handler that gave it the focus is through (the side-bar names its
    // step after the system's event for the window): the newest event is
    // read once no other came for 60 ms.
    for (int quiet = 0, rounds = 0; quiet < 3 && rounds < 25; ++rounds) {
      Pump(20);
      const WinEvent* last = m_events.LastFocus();
      if (last && last->window == focus && (last->object != event.object || last->child != event.child)) {
        event = *last;
        quiet = 0;
      } else {
        ++quiet;
      }
    }
    const AccNode node = ReadEventObject(event.window, event.object, event.child);
    const std::string named = node.read ? NameOnWindows(focus, node) : std::string();
    std::printf("key: %s -> %s%s\n", key, Describe(node).c_str(),
                named == node.name ? "" : (", named \"" + named + "\" on Windows").c_str());
    std::fflush(stdout);
    if (!named.empty()) return true;
    return Fail("after %s the focused %s has no accessible name", key, control.c_str());
  }

  // The page just reached: the step events (when the step changed) and the
  // accessible tree. `available` are the steps the user may choose now.
  bool CheckPage(int page, const std::vector<bool>& available, StepChange change, const char* when = "") {
    bool ok = change == StepChange::kNone || CheckStepEvents(page, change == StepChange::kOnSideBar);
    const std::vector<AccNode> tree = ReadTree(m_wizard.Main());
    std::printf("tree: page %d%s\n", page, when);
    for (const AccNode& n : tree) std::printf("  %*s%s\n", n.depth * 2, "", Describe(n).c_str());
    ok = CheckSideBar(tree, page, available) && ok;
    ok = CheckControls(tree, page) && ok;
    m_mark = m_events.Events().size();
    std::fflush(stdout);
    return ok;
  }

  // The meter while the copy runs, until the message that ends it.
  bool WatchMeter() {
    const HWND meter = Ctrl(Control::KCMeter_File);
    std::vector<std::string> seen;
    const auto sample = [&] {
      const AccNode n = ReadClient(meter);
      if (n.hasValue && (seen.empty() || seen.back() != n.value)) seen.push_back(n.value);
    };
    const ULONGLONG end = GetTickCount64() + kExitMs;
    while (!m_wizard.Box() && !m_wizard.Ended() && GetTickCount64() < end) {
      sample();
      Pump(5);
    }
    if (!m_wizard.Box()) return Fail("no message came at the end of the copy");
    sample();
    std::printf("meter: %s\n", Joined(seen).c_str());
    int before = -1;
    for (const std::string& v : seen) {
      if (!IsPercent(v)) return Fail("the meter's value \"%s\" is not a percentage", v.c_str());
      if (std::atoi(v.c_str()) < before) return Fail("the meter's value went back to %s", v.c_str());
      before = std::atoi(v.c_str());
    }
    if (seen.size() < 2) return Fail("the meter's value did not change during the copy");
    if (seen.back() != "100%") return Fail("the meter ends at %s, not 100%%", seen.back().c_str());
    return true;
  }

  // The text of the message now shown, printed for the log's checks.
  bool ShowMessage() {
    HWND box = nullptr;
    if (!Poll([&] { return (box = m_wizard.Box()) != nullptr; }, kStepMs)) return Fail("no message is shown");
    Sleep(kPaintMs);  // the box may still be laying out its text
    std::printf("message: %s\n", BoxText(box).c_str());
    return CheckFocus("(message)");
  }

  bool Exited(DWORD expected) {
    if (!Poll([&] { return m_wizard.Ended(); }, kExitMs)) return Fail("setup.exe did not end");
    std::printf("exit: %lu\n", m_wizard.ExitCode());
    return m_wizard.ExitCode() == expected ||
           Fail("setup.exe ended with %lu, expected %lu", m_wizard.ExitCode(), expected);
  }

 private:
  bool Send(const Key& key) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(m_wizard.ThreadId(), &gui) || !gui.hwndActive) {
      return Fail("setup.exe has no active window to take %s", key.name);
    }
    // Keys go to the foreground window, as a keyboard's do.
    const HWND active = gui.hwndActive;
    if (GetForegroundWindow() != active) {
      SetForegroundWindow(active);
      if (!Poll([&] { return GetForegroundWindow() == active; }, 2000)) {
        return Fail("%s cannot be made the foreground window", ClassOf(active).c_str());
      }
    }
    std::vector<INPUT> input;
    const auto add = [&](WORD vk, bool up) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = vk;
      i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
      i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_UP || vk == VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0);
      input.push_back(i);
    };
    if (key.shift) add(VK_SHIFT, false);
    add(key.vk, false);
    add(key.vk, true);
    if (key.shift) add(VK_SHIFT, true);
    const UINT sent = SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    if (sent != input.size())
      return Fail("SendInput took %u of %u events of %s", sent, static_cast<unsigned>(input.size()), key.name);
    return true;
  }

  bool CheckStepEvents(int page, bool sideBarFocused) {
    const HWND nav = Ctrl(Control::KelvaNavigate1);
    const LONG child = StepChild(page);
    // The side-bar's events since the last page: a selection of the new
    // step, and with the side-bar focused the newest focus on it too.
    bool selected = false;
    LONG focused = -1;
    std::string seen;
    const auto scan = [&] {
      const std::vector<WinEvent>& all = m_events.Events();
      selected = false;
      focused = -1;
      seen.clear();
      for (size_t i = m_mark; i < all.size(); ++i) {
        const WinEvent& e = all[i];
        if (e.window != nav || e.object != OBJID_CLIENT) continue;
        if (e.event != EVENT_OBJECT_SELECTION && e.event != EVENT_OBJECT_FOCUS) continue;
        const bool selection = e.event == EVENT_OBJECT_SELECTION;
        seen +=
            std::string(seen.empty() ? "" : ", ") + (selection ? "selection #" : "focus #") + std::to_string(e.child);
        if (selection && e.child == child) selected = true;
        if (!selection) focused = e.child;
      }
      return selected && (!sideBarFocused || focused == child);
    };
    const bool ok = Poll(scan, 2000);
    std::printf("events of the side-bar: %s\n", seen.empty() ? "none" : seen.c_str());
    if (!selected) {
      return Fail("no EVENT_OBJECT_SELECTION of the side-bar for step %ld on the way to page %d", child, page);
    }
    if (!ok) return Fail("the side-bar holds the focus, but its newest focus event does not name step %ld", child);
    return true;
  }

  bool CheckSideBar(const std::vector<AccNode>& tree, int page, const std::vector<bool>& available) {
    const HWND nav = Ctrl(Control::KelvaNavigate1);
    const AccNode* list = nullptr;
    std::vector<const AccNode*> items, buttons;
    for (const AccNode& n : tree) {
      if (n.window != nav) continue;
      if (n.role == ROLE_SYSTEM_LIST) list = &n;
      if (n.role == ROLE_SYSTEM_LISTITEM) items.push_back(&n);
      if (n.role == ROLE_SYSTEM_PUSHBUTTON && !(n.state & STATE_SYSTEM_INVISIBLE)) buttons.push_back(&n);
    }
    bool ok = true;
    if (!list || list->name.empty()) ok = Fail("the side-bar has no named list of steps");
    if (items.size() != kStepCount) {
      return Fail("the side-bar's list has %u items, expected %d", static_cast<unsigned>(items.size()), kStepCount);
    }
    const bool focused = Focused(nav);
    std::vector<std::string> names;
    for (int i = 0; i < kStepCount; ++i) {
      const AccNode& n = *items[static_cast<size_t>(i)];
      names.push_back(n.name);
      if (n.name.empty()) ok = Fail("step %d of the side-bar has no name", i);
      if (((n.state & STATE_SYSTEM_SELECTED) != 0) != (i == page)) {
        ok = Fail("step %d is %sselected on page %d", i, i == page ? "not " : "", page);
      }
      if (((n.state & STATE_SYSTEM_FOCUSED) != 0) != (i == page && focused)) {
        ok = Fail("step %d is %sfocused on page %d (the side-bar %s the focus)", i,
                  (n.state & STATE_SYSTEM_FOCUSED) ? "" : "not ", page, focused ? "holds" : "does not hold");
      }
      if (((n.state & STATE_SYSTEM_UNAVAILABLE) != 0) == available[static_cast<size_t>(i)]) {
        ok = Fail("step %d is %s on page %d", i, available[static_cast<size_t>(i)] ? "unavailable" : "available", page);
      }
    }
    std::printf("steps: %s\n", Joined(names).c_str());
    std::vector<std::string> captions;
    for (const AccNode* b : buttons) captions.push_back(b->name);
    std::printf("buttons: %s\n", Joined(captions).c_str());
    if (buttons.size() != 2 || captions[0].empty() || captions[1].empty()) {
      ok = Fail("the side-bar shows %u named previous/next buttons, expected 2", static_cast<unsigned>(buttons.size()));
    }
    return ok;
  }

  // The controls shown on the page, each by its kind in the layout table.
  bool CheckControls(const std::vector<AccNode>& tree, int page) {
    const auto find = [&](HWND w) -> const AccNode* {
      for (const AccNode& n : tree) {
        if (n.window == w && n.child == CHILDID_SELF) return &n;
      }
      return nullptr;
    };
    bool ok = true;
    for (const ControlLayout& row : MainFormLayout()) {
      const HWND w = Ctrl(row.control);
      const char* name = ControlName(row.control);
      if (row.control == Control::nutzloser_Button) {
        const AccNode* holder = find(w);
        if (IsWindowVisible(w) || (holder && !(holder->state & STATE_SYSTEM_INVISIBLE))) {
          ok = Fail("the focus holder %s is shown to a screen reader", name);
        }
        continue;
      }
      const KindRule* rule = RuleOf(row.kind);
      if (!rule || (row.page >= 0 && row.page != page) || !IsWindowVisible(w)) continue;
      const AccNode* node = find(w);
      if (!node || !node->read) {
        ok = Fail("%s is shown but has no object in the tree", name);
        continue;
      }
      if (!SameNoCase(ClassOf(w), rule->cls)) {
        ok = Fail("%s is a window of class %s, expected %s", name, ClassOf(w).c_str(), rule->cls);
      }
      // Wine describes a native control of another process by an object of
      // no particular role, named by the control's text.
      const bool generic = !rule->drawn && node->role == ROLE_SYSTEM_CLIENT;
      if (node->role != rule->role && !generic) {
        ok = Fail("%s is a %s, expected a %s", name, RoleText(node->role).c_str(), RoleText(rule->role).c_str());
      }
      const std::string named = NameOnWindows(w, *node);
      if (named.empty() && row.kind != ControlKind::kLabel) ok = Fail("%s has no name", name);
      if (rule->named == Named::kOwnText && node->name != WithoutAccessMark(Text(w))) {
        ok = Fail("%s is named \"%s\", not by its text", name, node->name.c_str());
      }
      if (rule->named == Named::kLabel) {
        const Control label = LabelOf(row.control);
        const std::string labelText = Text(Ctrl(label));
        // The system names a native control by the label just before it.
        if (!rule->drawn && GetWindow(w, GW_HWNDPREV) != Ctrl(label)) {
          ok = Fail("%s: its label %s does not lie just before it", name, ControlName(label));
        }
        if ((rule->drawn || !generic) && node->name != labelText) {
          ok = Fail("%s is named \"%s\", not by its label %s", name, node->name.c_str(), ControlName(label));
        }
      }
      if (row.kind == ControlKind::kCheckBox &&
          ((node->state & STATE_SYSTEM_CHECKED) != 0) != (Ask(w, BM_GETCHECK) == BST_CHECKED) && !generic) {
        ok = Fail("%s: its object's checked state differs from the box", name);
      }
      if ((row.kind == ControlKind::kMemo || row.kind == ControlKind::kEdit) &&
          !(GetWindowLongW(w, GWL_STYLE) & ES_READONLY)) {
        ok = Fail("%s can be edited", name);
      }
      if ((row.kind == ControlKind::kMemo || row.kind == ControlKind::kEdit) && !generic &&
          !(node->state & STATE_SYSTEM_READONLY)) {
        ok = Fail("%s is not read-only to a screen reader", name);
      }
      if (row.kind == ControlKind::kMeter && (!node->hasValue || !IsPercent(node->value))) {
        ok = Fail("%s: its value \"%s\" is not a percentage", name, node->value.c_str());
      }
    }
    return ok;
  }

  EventRecorder m_events;
  WizardProcess m_wizard;
  size_t m_mark = 0;  // the first event since the last page check
};

// Steps the user may choose, by step.
std::vector<bool> Available(int upTo) {
  std::vector<bool> steps(kStepCount, false);
  for (int i = 0; i <= upTo && i < kStepCount; ++i) steps[static_cast<size_t>(i)] = true;
  return steps;
}

// Drive E: of the chooser's drive box, then its CAD folder, then OK by Return.
bool ChooseByKeys(KeyboardRun& run, HWND chooser) {
  const HWND list = Child(chooser, DlgControlId(DlgControl::DirectoryListBox1));
  const HWND drives = Child(chooser, DlgControlId(DlgControl::DriveComboBox1));
  const HWND label = Child(chooser, DlgControlId(DlgControl::LblPath));
  if (!list || !drives || !label) return Fail("the chooser lacks its list, drive box or path label");
  if (!run.PressTo(kTab, list) || !run.PressTo(kTab, drives)) return false;
  const std::vector<std::string> letters = Items(drives, false);
  const auto driveE = [&] {
    for (size_t i = 0; i < letters.size(); ++i) {
      if (StartsNoCase(letters[i], "E:")) return static_cast<int>(i);
    }
    return -1;
  };
  if (!run.ArrowTo(drives, false, driveE,
                   [&](int i) { return StartsNoCase(Text(label), letters[static_cast<size_t>(i)]); })) {
    return false;
  }
  if (!run.PressTo(kShiftTab, list)) return false;
  // The list is made again whenever a folder is entered.
  const auto cad = [&] {
    const std::vector<std::string> folders = Items(list, true);
    for (size_t i = 0; i < folders.size(); ++i) {
      if (SameNoCase(folders[i], "CAD")) return static_cast<int>(i);
    }
    return -1;
  };
  const auto entered = [&](int i) {
    const std::vector<std::string> folders = Items(list, true);
    return i < static_cast<int>(folders.size()) && EndsNoCase(Text(label), folders[static_cast<size_t>(i)]);
  };
  if (!run.ArrowTo(list, true, cad, entered)) return false;
  const HWND target = run.Ctrl(Control::zielDXF_Edit);
  // The focus comes back to the button that opened the chooser.
  const HWND browse = run.Ctrl(Control::DXFZiel_Button);
  return run.Press(kReturn, "the chooser closed, zielDXF_Edit reading E:\\CAD and the focus on DXFZiel_Button",
                   [&] { return !IsWindowVisible(chooser) && Text(target) == "E:\\CAD" && run.Focused(browse); });
}

bool InstallByKeys(KeyboardRun& run) {
  WizardProcess& wizard = run.Wizard();
  // Page 0: the second language and back with the arrow keys.
  const HWND languages = run.Ctrl(Control::ComboBoxSprache);
  if (!run.Focused(languages)) return Fail("the window does not open with the focus on ComboBoxSprache");
  if (Items(languages, false).size() < 2) return Fail("ComboBoxSprache offers fewer than two languages");
  const std::string first = wizard.AllTexts();
  if (!run.Press(kDown, "the second language",
                 [&] { return Ask(languages, CB_GETCURSEL) == 1 && wizard.AllTexts() != first; }) ||
      !run.Press(kUp, "the first language again",
                 [&] { return Ask(languages, CB_GETCURSEL) == 0 && wizard.AllTexts() == first; })) {
    return false;
  }
  if (!run.CheckPage(0, Available(1), StepChange::kNone)) return false;

  // Page 1: Return steps on from the language box; Tab reaches "I accept".
  const HWND licence = run.Ctrl(Control::eula_Memo);
  if (!run.Press(kReturn, "page 1 with the focus on eula_Memo",
                 [&] { return wizard.CurrentPage() == 1 && run.Focused(licence); }) ||
      !run.CheckPage(1, Available(1), StepChange::kChanged)) {
    return false;
  }
  const HWND accept = run.Ctrl(Control::accept_Button);
  if (!run.TabReaches(accept)) return Fail("Tab does not take the focus from eula_Memo to accept_Button");

  // Page 2: Space accepts and steps on; Tab and Space tick the components.
  const HWND sirel = run.Ctrl(Control::Sirel_CheckBox);
  if (!run.Press(kSpace, "page 2 with the focus on Sirel_CheckBox",
                 [&] { return wizard.CurrentPage() == 2 && run.Focused(sirel); }) ||
      !run.CheckPage(2, Available(3), StepChange::kChanged)) {
    return false;
  }
  for (Control box : {Control::Beispiel_CheckBox, Control::DXF_CheckBox}) {
    const HWND w = run.Ctrl(box);
    if (!run.PressTo(kTab, w) || !run.Press(kSpace, std::string(ControlName(box)) + " checked",
                                            [&] { return Ask(w, BM_GETCHECK) == BST_CHECKED; })) {
      return false;
    }
  }

  // Page 3: the side-bar has the focus; Tab to the drive list, E: by arrows.
  const HWND nav = run.Ctrl(Control::KelvaNavigate1);
  if (!run.Press(kReturn, "page 3 with the focus on the side-bar",
                 [&] { return wizard.CurrentPage() == 3 && run.Focused(nav); }) ||
      !run.CheckPage(3, Available(3), StepChange::kOnSideBar, ", no DXF target yet")) {
    return false;
  }
  const HWND drives = run.Ctrl(Control::drive_Combo);
  if (!run.PressTo(kTab, run.Ctrl(Control::zielDXF_Edit)) || !run.PressTo(kTab, drives)) return false;
  const std::vector<std::string> offers = Items(drives, false);
  std::printf("drive_Combo offers %s\n", Joined(offers).c_str());
  int e = -1;
  for (size_t i = 0; i < offers.size() && e < 0; ++i) {
    if (StartsNoCase(offers[i], "E:")) e = static_cast<int>(i);
  }
  if (e < 0 || offers.size() < 2) return Fail("drive_Combo must offer E: and another target to choose from by arrows");
  // Away from E: first when it is chosen already, then onto it.
  const int away = e + 1 < static_cast<int>(offers.size()) ? e + 1 : e - 1;
  const auto choose = [&](int index) {
    return run.ArrowTo(
        drives, false, [index] { return index; },
        [&](int i) { return Text(drives) == offers[static_cast<size_t>(i)]; });
  };
  if ((Ask(drives, CB_GETCURSEL) == e && !choose(away)) || !choose(e)) return false;

  // "Browse..." for the DXF target, the chooser by keys.
  const HWND browse = run.Ctrl(Control::DXFZiel_Button);
  HWND chooser = nullptr;
  if (!run.PressTo(kTab, browse) ||
      !run.Press(kReturn, "the directory chooser with the focus on BtnOK",
                 [&] {
                   chooser = TopLevel(wizard.ProcessId(), "SetupChooser");
                   return chooser && run.Focused(Child(chooser, DlgControlId(DlgControl::BtnOK)));
                 }) ||
      !ChooseByKeys(run, chooser)) {
    return false;
  }

  if (!run.CheckPage(3, Available(4), StepChange::kNone, ", the DXF target chosen")) return false;

  // Page 4: Tab to the side-bar, Return starts the copy.
  const auto copying = [&] {
    return (wizard.CurrentPage() == 4 && run.FocusEventNames(nav, StepChild(4))) || wizard.Box();
  };
  if (!run.TabTo(nav) || !run.Press(kReturn, "page 4 with the focus on its step", copying) || !run.WatchMeter() ||
      !run.CheckPage(4, Available(-1), StepChange::kOnSideBar, ", the copy done")) {
    return false;
  }
  // The done message, answered by Return.
  return run.ShowMessage() && run.Press(kReturn, "setup.exe to end", [&] { return wizard.Ended(); }) &&
         run.Exited(kExitInstalled);
}

bool CancelByKeys(KeyboardRun& run) {
  WizardProcess& wizard = run.Wizard();
  // What the first page shows, in UTF-16 from the window.
  std::printf("text: window %s\n", Text(wizard.Main()).c_str());
  for (const ControlLayout& row : MainFormLayout()) {
    const HWND w = run.Ctrl(row.control);
    if (row.page <= 0 && IsWindowVisible(w)) std::printf("text: %s %s\n", ControlName(row.control), Text(w).c_str());
  }
  return run.PressTo(kTab, run.Ctrl(Control::Btn_Cancel)) &&
         run.Press(kSpace, "the confirmation", [&] { return wizard.Box() != nullptr; }) && run.ShowMessage() &&
         run.Press(kReturn, "setup.exe to end", [&] { return wizard.Ended(); }) && run.Exited(kExitAbandoned);
}

int Run(const std::string& exe, bool (*steps)(KeyboardRun&)) {
  // The accessible objects of setup.exe reach the driver through COM.
  CoInitialize(nullptr);
  bool ok = false;
  {
    KeyboardRun run;
    ok = run.Start(exe) && steps(run);
  }
  CoUninitialize();
  return ok ? 0 : 1;
}

}  // namespace

int KeyboardInstall(const std::string& exe) { return Run(exe, InstallByKeys); }

int KeyboardCancel(const std::string& exe) { return Run(exe, CancelByKeys); }
