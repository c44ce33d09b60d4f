#pragma once
// What the runs of wizarddrive share: reaching setup.exe's windows from
// outside (texts, controls, message boxes), waits with time limits, the
// screenshots, and setup.exe as a process of the driver.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/win32/controlids.h"

namespace harness {

constexpr DWORD kStartMs = 30000;
constexpr DWORD kExitMs = 60000;
constexpr DWORD kStepMs = 10000;
constexpr DWORD kPaintMs = 400;

// Prints "error: ..." and gives false.
bool Fail(const char* format, ...);

// Passes the driver's own pending messages for up to `ms` (the events of a
// window-event hook arrive as messages).
void Pump(DWORD ms);

// Polls `cond` until it holds or `ms` have passed, passing messages between.
template <typename Cond>
bool Poll(Cond cond, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= end) return false;
    Pump(20);
  }
}

bool SameNoCase(const std::string& a, const std::string& b);
bool StartsNoCase(const std::string& s, const std::string& prefix);

// A message to another process, with a time limit: a hung setup.exe ends the
// run instead of the driver. -1 when it timed out.
LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);

// UTF-16 to UTF-8 and back: texts and names are logged in UTF-8.
std::string Narrow(const std::wstring& w);
std::wstring Widen(const std::string& s);

// WM_GETTEXT, asked in UTF-16.
std::string Text(HWND w);
std::string ClassOf(HWND w);
// Item texts of a combo box (CB_) or a list box (LB_).
std::vector<std::string> Items(HWND w, bool list);
// "a", "b" as one line; (none) for none.
std::string Joined(const std::vector<std::string>& items);

// A descendant by control ID, however deeply nested in panels and pages.
HWND Child(HWND parent, int id);
// A visible top-level window of the class that belongs to the process (0: any).
HWND TopLevel(DWORD pid, const char* cls);
// The text of a message box, its lines joined by blanks.
std::string BoxText(HWND box);
// The control's name in setup.exe ("Btn_Cancel", "BtnOK"), else its class.
std::string ControlNameOf(HWND w);

// Screenshots: a screen rectangle as a 24-bit BMP; the union of two
// windows' rectangles (b may be null); a window brought up and captured.
bool SaveScreen(RECT r, const std::string& path);
RECT Union(HWND a, HWND b);
bool Shot(HWND top, const RECT& area, const std::string& path);

// setup.exe started by the driver; ended by the driver if still running
// when this ends.
class WizardProcess {
 public:
  WizardProcess() = default;
  ~WizardProcess();
  WizardProcess(const WizardProcess&) = delete;
  WizardProcess& operator=(const WizardProcess&) = delete;

  // Starts the program and waits for its main window on page 0;
  // `created` learns its process id before it runs.
  bool Start(const std::string& exe, const std::function<void(DWORD pid)>& created = nullptr);

  HWND Main() const { return m_main; }
  DWORD ProcessId() const { return m_pi.dwProcessId; }
  DWORD ThreadId() const { return m_pi.dwThreadId; }
  HANDLE Process() const { return m_pi.hProcess; }
  HWND Ctrl(int id) const { return Child(m_main, id); }
  bool Ended() const { return WaitForSingleObject(m_pi.hProcess, 0) != WAIT_TIMEOUT; }
  DWORD ExitCode() const;
  // A message box of the program now shown, else null.
  HWND Box() const { return TopLevel(m_pi.dwProcessId, "#32770"); }

  // The page whose heading is visible, -1 for none.
  int CurrentPage() const;
  // Every control's text and the window's caption: what a change of the
  // language must change.
  std::string AllTexts() const;
  // Polls `cond`; a message box or the end of setup.exe ends the wait early
  // (and fails it).
  template <typename Cond>
  bool Until(Cond cond, DWORD ms, const char* what) {
    bool gone = false;
    HWND box = nullptr;
    const bool ok = Poll(
        [&] {
          if (cond()) return true;
          gone = Ended();
          box = Box();
          return gone || box != nullptr;
        },
        ms);
    return ok && !gone && !box ? true : Unexpected(gone, box, ms, what);
  }
  bool UntilPage(int page);

 private:
  bool Unexpected(bool gone, HWND box, DWORD ms, const char* what) const;

  PROCESS_INFORMATION m_pi{};
  HWND m_main = nullptr;
};

}  // namespace harness
