#include "tests/win32harness/harness.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "setup/controls.h"

namespace harness {

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

void Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool StartsNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && SameNoCase(s.substr(0, prefix.size()), prefix);
}

// Texts travel as UTF-16: Wine hands the ANSI forms of CB_GETLBTEXT and
// LB_GETTEXT between processes unconverted.
LRESULT Ask(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

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

namespace {

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

}  // namespace

std::string Text(HWND w) { return Fetch(w, WM_GETTEXTLENGTH, WM_GETTEXT, 0, false); }

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

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

// The static with ID 0xFFFF, else the box's longest static.
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

std::string ControlNameOf(HWND w) {
  static const char* const kChooser[] = {"BtnOK",          "BtnAbort", "BtnDefault", "DirectoryListBox1",
                                         "DriveComboBox1", "LblPath"};
  const int id = GetDlgCtrlID(w);
  const bool child = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) != 0;
  if (child && id >= kControlIdBase && id < ControlId(Control::kCount)) {
    return ControlName(static_cast<Control>(id - kControlIdBase));
  }
  const bool inChooser = ClassOf(GetAncestor(w, GA_ROOT)) == "SetupChooser";
  if (child && inChooser && id >= kDlgControlIdBase && id < kDlgControlIdBase + 6) {
    return kChooser[id - kDlgControlIdBase];
  }
  return ClassOf(w);
}

// --- Screenshots -----------------------------------------------------------

namespace {

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

}  // namespace

// Under Wine with Xvfb a BitBlt from the screen DC reads the X root window,
// which holds what the windows painted.
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

bool Shot(HWND top, const RECT& area, const std::string& path) {
  SetForegroundWindow(top);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(kPaintMs);
  if (!SaveScreen(area, path)) return false;
  std::printf("shot: %s\n", path.c_str());
  return true;
}

// --- setup.exe -------------------------------------------------------------

namespace {

// The heading of each page: visible exactly while its page is shown.
constexpr Control kPageHeading[] = {Control::Label_135, Control::Nutzervertrag_Label, Control::Auswahl_Label,
                                    Control::Label_115, Control::Label_134};

}  // namespace

WizardProcess::~WizardProcess() {
  if (!m_pi.hProcess) return;
  // A run that went wrong must not leave setup.exe behind.
  if (!Ended()) TerminateProcess(m_pi.hProcess, 99);
  CloseHandle(m_pi.hProcess);
  CloseHandle(m_pi.hThread);
}

bool WizardProcess::Start(const std::string& exe, const std::function<void(DWORD pid)>& created) {
  std::string dir = exe.substr(0, exe.find_last_of("\\/:") + 1);
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, created ? CREATE_SUSPENDED : 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &m_pi)) {
    return Fail("cannot start %s (error %lu)", exe.c_str(), GetLastError());
  }
  if (created) {
    created(m_pi.dwProcessId);
    ResumeThread(m_pi.hThread);
  }
  if (!Until([&] { return (m_main = TopLevel(m_pi.dwProcessId, "SetupWizardMain")) != nullptr; }, kStartMs,
             "the main window")) {
    return false;
  }
  return UntilPage(0);
}

DWORD WizardProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(m_pi.hProcess, &code);
  return code;
}

int WizardProcess::CurrentPage() const {
  for (int page = 0; page < 5; ++page) {
    HWND h = Ctrl(ControlId(kPageHeading[page]));
    if (h && IsWindowVisible(h)) return page;
  }
  return -1;
}

std::string WizardProcess::AllTexts() const {
  std::string all;
  for (int id = kControlIdBase; id < ControlId(Control::kCount); ++id) {
    if (HWND h = Ctrl(id)) all += Text(h) + '\n';
  }
  return all + Text(m_main);
}

bool WizardProcess::UntilPage(int page) {
  char what[32];
  std::snprintf(what, sizeof what, "page %d", page);
  if (Until([&] { return CurrentPage() == page; }, kStepMs, what)) return true;
  std::printf("(page %d is shown)\n", CurrentPage());
  return false;
}

bool WizardProcess::Unexpected(bool gone, HWND box, DWORD ms, const char* what) const {
  if (box) {
    std::printf("message: %s\n", BoxText(box).c_str());
    return Fail("unexpected message box while waiting for %s", what);
  }
  if (gone) return Fail("setup.exe ended (exit code %lu) while waiting for %s", ExitCode(), what);
  return Fail("timed out after %lu s waiting for %s", ms / 1000, what);
}

}  // namespace harness
