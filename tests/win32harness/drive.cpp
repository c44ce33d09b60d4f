// wizarddrive: drives the real setup.exe from outside, as a user at the
// keyboard would, and takes screenshots on the way. Run under Wine by run.sh.
//
//   wizarddrive install SETUP_EXE SHOTS_DIR   a full install into E:
//   wizarddrive fail SETUP_EXE SHOTS_DIR      the copy fails: two messages
//   wizarddrive attrs DIR                     attribute word of every file
//   wizarddrive attrib FILE HEX               sets a file's attribute word
//   wizarddrive shot CLASS FILE               screenshot of any window
//
// Every wait polls with a time limit; anything that may open a modal window
// is posted, never sent, so the driver cannot block on setup.exe.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "gui/win32/controlids.h"

namespace {

// Control IDs of the windows of setup.exe.
constexpr int Label_135 = ControlId(Control::Label_135);
constexpr int ComboBoxSprache = ControlId(Control::ComboBoxSprache);
constexpr int Nutzervertrag_Label = ControlId(Control::Nutzervertrag_Label);
constexpr int accept_Button = ControlId(Control::accept_Button);
constexpr int Auswahl_Label = ControlId(Control::Auswahl_Label);
constexpr int Sirel_CheckBox = ControlId(Control::Sirel_CheckBox);
constexpr int Beispiel_CheckBox = ControlId(Control::Beispiel_CheckBox);
constexpr int DXF_CheckBox = ControlId(Control::DXF_CheckBox);
constexpr int Label_115 = ControlId(Control::Label_115);
constexpr int drive_Combo = ControlId(Control::drive_Combo);
constexpr int zielDXF_Edit = ControlId(Control::zielDXF_Edit);
constexpr int DXFZiel_Button = ControlId(Control::DXFZiel_Button);
constexpr int Label_134 = ControlId(Control::Label_134);
constexpr int kFirstCtl = kControlIdBase;
constexpr int kLastCtl = ControlId(Control::kCount) - 1;
constexpr int BtnOK = DlgControlId(DlgControl::BtnOK);
constexpr int DirectoryListBox1 = DlgControlId(DlgControl::DirectoryListBox1);
constexpr int DriveComboBox1 = DlgControlId(DlgControl::DriveComboBox1);
constexpr int LblPath = DlgControlId(DlgControl::LblPath);

// The heading of each page: visible exactly while its page is shown.
constexpr int kPageHeading[] = {Label_135, Nutzervertrag_Label, Auswahl_Label, Label_115, Label_134};

constexpr DWORD kStartMs = 30000;
constexpr DWORD kExitMs = 60000;
constexpr DWORD kStepMs = 10000;
constexpr DWORD kPaintMs = 400;

bool Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::fputs("error: ", stdout);
  std::vfprintf(stdout, format, args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  va_end(args);
  return false;
}

template <typename Cond>
bool Poll(Cond cond, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool StartsNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && SameNoCase(s.substr(0, prefix.size()), prefix);
}

// A message to another process, with a time limit: a hung setup.exe ends the
// run instead of the driver. Texts travel as UTF-16: Wine hands the ANSI forms
// of CB_GETLBTEXT and LB_GETTEXT between processes unconverted.
LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// Texts and names are logged in UTF-8, so those of any script arrive whole.
std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

// A text fetched by a length message and a copy message (WM_GETTEXT and the
// item texts of list and combo boxes).
std::string Fetch(HWND w, UINT lengthMsg, UINT textMsg, WPARAM item, bool itemText) {
  const LRESULT n = Ask(w, lengthMsg, itemText ? item : 0);
  if (n <= 0) return {};
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got = Ask(w, textMsg, itemText ? item : s.size(), reinterpret_cast<LPARAM>(&s[0]));
  s.resize(got > 0 ? std::min(static_cast<size_t>(got), s.size()) : 0);
  return Narrow(s);
}

std::string Text(HWND w) { return Fetch(w, WM_GETTEXTLENGTH, WM_GETTEXT, 0, false); }

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

// Item texts of a combo box (CB_) or a list box (LB_).
std::vector<std::string> Items(HWND w, bool list) {
  std::vector<std::string> items;
  const LRESULT count = Ask(w, list ? LB_GETCOUNT : CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    items.push_back(list ? Fetch(w, LB_GETTEXTLEN, LB_GETTEXT, i, true)
                         : Fetch(w, CB_GETLBTEXTLEN, CB_GETLBTEXT, i, true));
  }
  return items;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string s;
  for (const std::string& i : items) s += (s.empty() ? "\"" : ", \"") + i + "\"";
  return s.empty() ? "(none)" : s;
}

// A descendant by control ID, however deeply nested in panels and pages.
HWND Child(HWND parent, int id) {
  struct Find {
    int id;
    HWND found;
  } find{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        if (GetDlgCtrlID(w) != f->id) return TRUE;
        f->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// A visible top-level window of the class that belongs to the process.
HWND TopLevel(DWORD pid, const char* cls) {
  struct Find {
    DWORD pid;
    const char* cls;
    HWND found;
  } find{pid, cls, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((f->pid && owner != f->pid) || !IsWindowVisible(w) || ClassOf(w) != f->cls) return TRUE;
        f->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// The text of a message box: the static with ID 0xFFFF, else its longest static.
std::string BoxText(HWND box) {
  std::string text;
  if (HWND s = GetDlgItem(box, 0xFFFF)) text = Text(s);
  if (text.empty()) {
    std::vector<HWND> statics;
    EnumChildWindows(
        box,
        [](HWND w, LPARAM lp) -> BOOL {
          if (SameNoCase(ClassOf(w), "Static")) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&statics));
    for (HWND s : statics) {
      const std::string t = Text(s);
      if (t.size() > text.size()) text = t;
    }
  }
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// --- Screenshots -----------------------------------------------------------

bool WriteBmp24(const std::string& path, int width, int height, const std::vector<BYTE>& rows) {
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = stride * static_cast<DWORD>(height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return Fail("cannot write %s", path.c_str());
  const bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
                  std::fwrite(rows.data(), 1, rows.size(), f) == rows.size();
  return (std::fclose(f) == 0 && ok) || Fail("cannot write %s", path.c_str());
}

// A screen rectangle as a 24-bit BMP. Under Wine with Xvfb a BitBlt from the
// screen DC reads the X root window, which holds what the windows painted.
bool SaveScreen(RECT r, const std::string& path) {
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
  r.bottom = std::min<LONG>(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return Fail("nothing on the screen to capture for %s", path.c_str());
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  const bool blitted = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  SelectObject(mem, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> rows(((static_cast<size_t>(w) * 3 + 3) & ~size_t{3}) * static_cast<size_t>(h));
  const int lines = GetDIBits(mem, bmp, 0, h, rows.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  if (!blitted || lines != h) return Fail("screen capture failed for %s", path.c_str());
  return WriteBmp24(path, w, h, rows);
}

RECT Union(HWND a, HWND b) {
  RECT ra{}, rb{}, u{};
  GetWindowRect(a, &ra);
  if (!b) return ra;
  GetWindowRect(b, &rb);
  UnionRect(&u, &ra, &rb);
  return u;
}

// Brings the window up, gives it time to paint and captures `area`.
bool Shot(HWND top, const RECT& area, const std::string& path) {
  SetForegroundWindow(top);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(kPaintMs);
  if (!SaveScreen(area, path)) return false;
  std::printf("shot: %s\n", path.c_str());
  return true;
}

// --- The wizard ------------------------------------------------------------

class Wizard {
 public:
  Wizard(std::string shots, bool pageShots) : m_shots(std::move(shots)), m_pageShots(pageShots) {}
  ~Wizard() {
    if (!m_pi.hProcess) return;
    // A run that went wrong must not leave setup.exe behind.
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_pi.hProcess, 99);
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
  }

  bool Start(const std::string& exe) {
    std::string dir = exe.substr(0, exe.find_last_of("\\/:") + 1);
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.empty() ? nullptr : dir.c_str(),
                        &si, &m_pi)) {
      return Fail("cannot start %s (error %lu)", exe.c_str(), GetLastError());
    }
    if (!Until([&] { return (m_main = TopLevel(m_pi.dwProcessId, "SetupWizardMain")) != nullptr; }, kStartMs,
               "the main window")) {
      return false;
    }
    return UntilPage(0);
  }

  // Language, licence, components and targets: up to the Return that starts the copy.
  bool ToCopyPage() {
    if (!Shoot("page0.bmp")) return false;
    if (!SwitchLanguage()) return false;
    if (!Next(1) || !Shoot("page1.bmp")) return false;
    // Accepting the licence steps on to the components by itself; Return
    // is the way there for a skin that stays on the licence.
    PostMessageA(Ctrl(accept_Button), BM_CLICK, 0, 0);
    if (!Poll([&] { return CurrentPage() == 2; }, 2000) && !Next(2)) return false;
    if (!Components() || !Shoot("page2.bmp")) return false;
    if (!Next(3) || !Shoot("page3.bmp")) return false;
    if (!Targets()) return false;
    PressReturn();
    return true;
  }

  // Answers every message box until setup.exe ends; `names` are the
  // screenshots of the boxes in order, each over the main window.
  bool FinishWith(const std::vector<std::string>& names, const char* pageShot) {
    const ULONGLONG end = GetTickCount64() + kExitMs;
    while (WaitForSingleObject(m_pi.hProcess, 50) == WAIT_TIMEOUT) {
      if (GetTickCount64() >= end) return Fail("setup.exe did not end within %lu s", kExitMs / 1000);
      HWND box = TopLevel(m_pi.dwProcessId, "#32770");
      if (!box) continue;
      Sleep(kPaintMs);  // the box may still be laying out its text
      const std::string text = BoxText(box);
      std::printf("message: %s\n", text.c_str());
      std::fflush(stdout);
      const size_t n = m_messages.size();
      m_messages.push_back(text);
      if (n == 0 && pageShot && IsWindow(m_main)) {
        // The main window alone: the box steps aside while it is captured.
        SetWindowPos(box, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const bool shot = Shot(m_main, Union(m_main, nullptr), Path(pageShot));
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        if (!shot) return false;
      }
      if (n < names.size() && !Shot(box, Union(IsWindow(m_main) ? m_main : box, box), Path(names[n]))) {
        return false;
      }
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      if (!Poll([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kStepMs)) {
        return Fail("the message box did not close on OK");
      }
    }
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    std::printf("exit: %lu\n", code);
    if (m_messages.size() != names.size()) {
      return Fail("%u message boxes, expected %u", static_cast<unsigned>(m_messages.size()),
                  static_cast<unsigned>(names.size()));
    }
    return true;
  }

 private:
  HWND Ctrl(int id) const { return Child(m_main, id); }
  std::string Path(const std::string& name) const { return m_shots + "\\" + name; }

  bool Shoot(const char* name) { return !m_pageShots || Shot(m_main, Union(m_main, nullptr), Path(name)); }

  // Polls `cond`; a message box or the end of setup.exe ends the wait early.
  template <typename Cond>
  bool Until(Cond cond, DWORD ms, const char* what) {
    bool gone = false;
    HWND box = nullptr;
    const bool ok = Poll(
        [&] {
          if (cond()) return true;
          gone = WaitForSingleObject(m_pi.hProcess, 0) != WAIT_TIMEOUT;
          box = TopLevel(m_pi.dwProcessId, "#32770");
          return gone || box != nullptr;
        },
        ms);
    if (ok && !gone && !box) return true;
    if (box) {
      std::printf("message: %s\n", BoxText(box).c_str());
      return Fail("unexpected message box while waiting for %s", what);
    }
    if (gone) {
      DWORD code = 0;
      GetExitCodeProcess(m_pi.hProcess, &code);
      return Fail("setup.exe ended (exit code %lu) while waiting for %s", code, what);
    }
    return Fail("timed out after %lu s waiting for %s", ms / 1000, what);
  }

  // The page whose heading is visible, -1 for none.
  int CurrentPage() const {
    for (int page = 0; page < 5; ++page) {
      HWND h = Ctrl(kPageHeading[page]);
      if (h && IsWindowVisible(h)) return page;
    }
    return -1;
  }

  bool UntilPage(int page) {
    char what[32];
    std::snprintf(what, sizeof what, "page %d", page);
    if (Until([&] { return CurrentPage() == page; }, kStepMs, what)) return true;
    std::printf("(page %d is shown)\n", CurrentPage());
    return false;
  }

  // Return to the focused control: the window previews keys for all of them.
  void PressReturn() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND target = m_main;
    if (GetGUIThreadInfo(m_pi.dwThreadId, &gui) && gui.hwndFocus) target = gui.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(target, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  }

  bool Next(int page) {
    PressReturn();
    return UntilPage(page);
  }

  // Selects an item of a combo box the way its owner is told of a user's choice.
  bool Choose(HWND combo, HWND notify, int id, int index) {
    if (Ask(combo, CB_SETCURSEL, index) != index) return Fail("control %d refused item %d", id, index);
    Ask(notify, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
  }

  std::string AllTexts() {
    std::string all;
    for (int id = kFirstCtl; id <= kLastCtl; ++id) {
      if (HWND h = Ctrl(id)) all += Text(h) + '\n';
    }
    return all + Text(m_main);
  }

  // The second language must change what the window says; the first must
  // bring every text back.
  bool SwitchLanguage() {
    HWND combo = Ctrl(ComboBoxSprache);
    if (!combo) return Fail("no ComboBoxSprache");
    const std::vector<std::string> langs = Items(combo, false);
    if (langs.size() < 2) return Fail("ComboBoxSprache offers %s", Joined(langs).c_str());
    const std::string before = AllTexts();
    if (!Choose(combo, GetParent(combo), ComboBoxSprache, 1)) return false;
    if (!Until([&] { return AllTexts() != before; }, kStepMs, "the texts of the second language")) return false;
    if (!Shoot("page0-deutsch.bmp")) return false;
    if (!Choose(combo, GetParent(combo), ComboBoxSprache, 0)) return false;
    return Until([&] { return AllTexts() == before; }, kStepMs, "the texts of the first language");
  }

  bool Components() {
    HWND sirel = Ctrl(Sirel_CheckBox), sample = Ctrl(Beispiel_CheckBox), dxf = Ctrl(DXF_CheckBox);
    if (!sirel || !sample || !dxf) return Fail("a component check box is missing");
    if (Ask(sirel, BM_GETCHECK) != BST_CHECKED) return Fail("Sirel_CheckBox is not checked initially");
    if (Ask(sample, BM_GETCHECK) != BST_UNCHECKED || Ask(dxf, BM_GETCHECK) != BST_UNCHECKED) {
      return Fail("Beispiel_CheckBox or DXF_CheckBox is checked initially");
    }
    PostMessageA(sample, BM_CLICK, 0, 0);
    PostMessageA(dxf, BM_CLICK, 0, 0);
    return Until([&] { return Ask(sample, BM_GETCHECK) == BST_CHECKED && Ask(dxf, BM_GETCHECK) == BST_CHECKED; },
                 kStepMs, "the sample and DXF check boxes to be checked");
  }

  bool Targets() {
    HWND drives = Ctrl(drive_Combo);
    if (!drives || !IsWindowVisible(drives)) return Fail("drive_Combo is not shown");
    const std::vector<std::string> offers = Items(drives, false);
    int e = -1;
    for (size_t i = 0; i < offers.size() && e < 0; ++i) {
      if (StartsNoCase(offers[i], "E:")) e = static_cast<int>(i);
    }
    if (e < 0) return Fail("drive_Combo offers no E: target: %s", Joined(offers).c_str());
    if (!Choose(drives, GetParent(drives), drive_Combo, e)) return false;

    PostMessageA(Ctrl(DXFZiel_Button), BM_CLICK, 0, 0);
    HWND chooser = nullptr;
    if (!Until([&] { return (chooser = TopLevel(m_pi.dwProcessId, "SetupChooser")) != nullptr; }, kStepMs,
               "the directory chooser")) {
      return false;
    }
    if (GetWindow(chooser, GW_OWNER) != m_main) return Fail("the chooser is not owned by the main window");
    if (!ChooseDirectory(chooser)) return false;
    if (m_pageShots && !Shot(chooser, Union(chooser, nullptr), Path("chooser.bmp"))) return false;
    PostMessageA(Child(chooser, BtnOK), BM_CLICK, 0, 0);
    if (!Until([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, kStepMs, "the chooser to close")) {
      return false;
    }
    const std::string dxf = Text(Ctrl(zielDXF_Edit));
    if (dxf != "E:\\CAD") return Fail("zielDXF_Edit reads \"%s\", expected \"E:\\CAD\"", dxf.c_str());
    return true;
  }

  // Drive E: in the drive box, then its CAD folder in the directory list.
  bool ChooseDirectory(HWND chooser) {
    HWND drives = nullptr, list = nullptr, label = nullptr;
    // The chooser may show before its controls are all made.
    if (!Until(
            [&] {
              drives = Child(chooser, DriveComboBox1);
              list = Child(chooser, DirectoryListBox1);
              label = Child(chooser, LblPath);
              return drives && list && label && Child(chooser, BtnOK);
            },
            kStepMs, "the chooser's drive box, directory list, path label and OK button")) {
      return false;
    }
    const std::vector<std::string> letters = Items(drives, false);
    int e = -1;
    for (size_t i = 0; i < letters.size() && e < 0; ++i) {
      if (StartsNoCase(letters[i], "E:")) e = static_cast<int>(i);
    }
    if (e < 0) return Fail("DriveComboBox1 offers no E:: %s", Joined(letters).c_str());
    if (!Choose(drives, chooser, DriveComboBox1, e)) return false;
    if (!Until([&] { return StartsNoCase(Text(label), "E:"); }, kStepMs, "LblPath to show drive E:")) return false;

    int cad = -1;
    std::vector<std::string> folders;
    Until(
        [&] {
          folders = Items(list, true);
          for (size_t i = 0; i < folders.size() && cad < 0; ++i) {
            if (SameNoCase(folders[i], "CAD")) cad = static_cast<int>(i);
          }
          return cad >= 0;
        },
        kStepMs, "the CAD folder");
    if (cad < 0) return Fail("DirectoryListBox1 on E: lists %s, no CAD", Joined(folders).c_str());
    if (Ask(list, LB_SETCURSEL, cad) != cad) return Fail("DirectoryListBox1 refused item %d", cad);
    Ask(chooser, WM_COMMAND, MAKEWPARAM(DirectoryListBox1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return Until(
        [&] {
          std::string p = Text(label);
          if (!p.empty() && p.back() == '\\') p.pop_back();
          return SameNoCase(p, "E:\\CAD");
        },
        kStepMs, "LblPath to show E:\\CAD");
  }

  std::string m_shots;
  bool m_pageShots;
  PROCESS_INFORMATION m_pi{};
  HWND m_main = nullptr;
  std::vector<std::string> m_messages;
};

int Install(const std::string& exe, const std::string& shots, bool fail) {
  CreateDirectoryA(shots.c_str(), nullptr);
  Wizard wizard(shots, !fail);
  if (!wizard.Start(exe) || !wizard.ToCopyPage()) return 1;
  const bool ok =
      fail ? wizard.FinishWith({"fail1.bmp", "fail2.bmp"}, nullptr) : wizard.FinishWith({"done.bmp"}, "page4.bmp");
  return ok ? 0 : 1;
}

// Every file below `dir` with its attribute word; true when all read archive only.
bool WalkAttrs(const std::string& dir, int* files) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW(Widen(dir + "\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return Fail("cannot list %s (error %lu)", dir.c_str(), GetLastError());
  bool clean = true;
  do {
    const std::string name = Narrow(fd.cFileName);
    if (name == "." || name == "..") continue;
    const std::string path = dir + "\\" + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      std::printf("%08lX %s\\\n", fd.dwFileAttributes, path.c_str());
      clean = WalkAttrs(path, files) && clean;
      continue;
    }
    ++*files;
    const bool archiveOnly = fd.dwFileAttributes == FILE_ATTRIBUTE_ARCHIVE;
    std::printf("%08lX %s%s\n", fd.dwFileAttributes, path.c_str(), archiveOnly ? "" : "  <- not archive only");
    clean = clean && archiveOnly;
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  return clean;
}

int Attrs(std::string dir) {
  while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  if (dir.size() == 3 && dir.back() == '\\') dir.pop_back();  // "E:\" walks as "E:"
  int files = 0;
  const bool clean = WalkAttrs(dir, &files);
  std::printf("%d files\n", files);
  return clean ? 0 : 1;
}

int ShotOf(const char* cls, const std::string& path) {
  HWND w = nullptr;
  if (!Poll([&] { return (w = TopLevel(0, cls)) != nullptr; }, kStartMs)) {
    Fail("no window of class %s", cls);
    return 1;
  }
  return Shot(w, Union(w, nullptr), path) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  int rc = 2;
  if ((cmd == "install" || cmd == "fail") && argc == 4) {
    rc = Install(argv[2], argv[3], cmd == "fail");
  } else if (cmd == "attrs" && argc == 3) {
    rc = Attrs(argv[2]);
  } else if (cmd == "attrib" && argc == 4) {
    rc = SetFileAttributesA(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 16))) ? 0 : 1;
  } else if (cmd == "shot" && argc == 4) {
    rc = ShotOf(argv[2], argv[3]);
  } else {
    std::fputs(
        "usage: wizarddrive install|fail SETUP_EXE SHOTS_DIR\n"
        "       wizarddrive attrs DIR\n"
        "       wizarddrive attrib FILE HEX\n"
        "       wizarddrive shot WINDOW_CLASS FILE.bmp\n",
        stderr);
  }
  std::printf("%s: %s\n", cmd.empty() ? "wizarddrive" : cmd.c_str(), rc == 0 ? "ok" : "failed");
  return rc;
}
