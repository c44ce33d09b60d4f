// wizarddrive: drives the real setup.exe from outside and takes screenshots
// on the way. Run under Wine by run.sh.
//
//   wizarddrive install SETUP_EXE SHOTS_DIR   a full install into E:
//   wizarddrive fail SETUP_EXE SHOTS_DIR      the copy fails: two messages
//   wizarddrive keys SETUP_EXE                a full install into E: by keys alone
//   wizarddrive cancel SETUP_EXE              cancelled on page 0 by keys
//   wizarddrive attrs DIR                     attribute word of every file
//   wizarddrive attrib FILE HEX               sets a file's attribute word
//   wizarddrive shot CLASS FILE               screenshot of any window
//
// install and fail steer the window by window messages, as a user's clicks
// and choices reach it; keys and cancel press keys only and read what a
// screen reader is told (keyrun.cpp). Every wait polls with a time limit;
// anything that may open a modal window is posted, never sent, so the
// driver cannot block on setup.exe.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/win32harness/harness.h"
#include "tests/win32harness/keyrun.h"

using namespace harness;

namespace {

// Control IDs of the windows of setup.exe.
constexpr int ComboBoxSprache = ControlId(Control::ComboBoxSprache);
constexpr int accept_Button = ControlId(Control::accept_Button);
constexpr int Sirel_CheckBox = ControlId(Control::Sirel_CheckBox);
constexpr int Beispiel_CheckBox = ControlId(Control::Beispiel_CheckBox);
constexpr int DXF_CheckBox = ControlId(Control::DXF_CheckBox);
constexpr int drive_Combo = ControlId(Control::drive_Combo);
constexpr int zielDXF_Edit = ControlId(Control::zielDXF_Edit);
constexpr int DXFZiel_Button = ControlId(Control::DXFZiel_Button);
constexpr int BtnOK = DlgControlId(DlgControl::BtnOK);
constexpr int DirectoryListBox1 = DlgControlId(DlgControl::DirectoryListBox1);
constexpr int DriveComboBox1 = DlgControlId(DlgControl::DriveComboBox1);
constexpr int LblPath = DlgControlId(DlgControl::LblPath);

// The run steered by window messages.
class MessageRun {
 public:
  MessageRun(std::string shots, bool pageShots) : m_shots(std::move(shots)), m_pageShots(pageShots) {}

  bool Start(const std::string& exe) {
    if (!m_wizard.Start(exe)) return false;
    m_main = m_wizard.Main();
    return true;
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
    while (WaitForSingleObject(m_wizard.Process(), 50) == WAIT_TIMEOUT) {
      if (GetTickCount64() >= end) return Fail("setup.exe did not end within %lu s", kExitMs / 1000);
      HWND box = m_wizard.Box();
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
    std::printf("exit: %lu\n", m_wizard.ExitCode());
    if (m_messages.size() != names.size()) {
      return Fail("%u message boxes, expected %u", static_cast<unsigned>(m_messages.size()),
                  static_cast<unsigned>(names.size()));
    }
    return true;
  }

 private:
  HWND Ctrl(int id) const { return m_wizard.Ctrl(id); }
  std::string Path(const std::string& name) const { return m_shots + "\\" + name; }

  bool Shoot(const char* name) { return !m_pageShots || Shot(m_main, Union(m_main, nullptr), Path(name)); }

  template <typename Cond>
  bool Until(Cond cond, DWORD ms, const char* what) {
    return m_wizard.Until(cond, ms, what);
  }
  int CurrentPage() const { return m_wizard.CurrentPage(); }
  bool UntilPage(int page) { return m_wizard.UntilPage(page); }

  // Return to the focused control: the window previews keys for all of them.
  void PressReturn() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND target = m_main;
    if (GetGUIThreadInfo(m_wizard.ThreadId(), &gui) && gui.hwndFocus) target = gui.hwndFocus;
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

  // The second language must change what the window says; the first must
  // bring every text back.
  bool SwitchLanguage() {
    HWND combo = Ctrl(ComboBoxSprache);
    if (!combo) return Fail("no ComboBoxSprache");
    const std::vector<std::string> langs = Items(combo, false);
    if (langs.size() < 2) return Fail("ComboBoxSprache offers %s", Joined(langs).c_str());
    const std::string before = m_wizard.AllTexts();
    if (!Choose(combo, GetParent(combo), ComboBoxSprache, 1)) return false;
    if (!Until([&] { return m_wizard.AllTexts() != before; }, kStepMs, "the texts of the second language"))
      return false;
    if (!Shoot("page0-deutsch.bmp")) return false;
    if (!Choose(combo, GetParent(combo), ComboBoxSprache, 0)) return false;
    return Until([&] { return m_wizard.AllTexts() == before; }, kStepMs, "the texts of the first language");
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
    if (!Until([&] { return (chooser = TopLevel(m_wizard.ProcessId(), "SetupChooser")) != nullptr; }, kStepMs,
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
  WizardProcess m_wizard;
  HWND m_main = nullptr;
  std::vector<std::string> m_messages;
};

int Install(const std::string& exe, const std::string& shots, bool fail) {
  CreateDirectoryA(shots.c_str(), nullptr);
  MessageRun wizard(shots, !fail);
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
  } else if (cmd == "keys" && argc == 3) {
    rc = KeyboardInstall(argv[2]);
  } else if (cmd == "cancel" && argc == 3) {
    rc = KeyboardCancel(argv[2]);
  } else if (cmd == "attrs" && argc == 3) {
    rc = Attrs(argv[2]);
  } else if (cmd == "attrib" && argc == 4) {
    rc = SetFileAttributesA(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 16))) ? 0 : 1;
  } else if (cmd == "shot" && argc == 4) {
    rc = ShotOf(argv[2], argv[3]);
  } else {
    std::fputs(
        "usage: wizarddrive install|fail SETUP_EXE SHOTS_DIR\n"
        "       wizarddrive keys|cancel SETUP_EXE\n"
        "       wizarddrive attrs DIR\n"
        "       wizarddrive attrib FILE HEX\n"
        "       wizarddrive shot WINDOW_CLASS FILE.bmp\n",
        stderr);
  }
  std::printf("%s: %s\n", cmd.empty() ? "wizarddrive" : cmd.c_str(), rc == 0 ? "ok" : "failed");
  return rc;
}
