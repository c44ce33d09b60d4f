// The Win32 skin on real windows (under Wine in CI): the main window as the
// layout table describes it, the window messages reaching the controller,
// the meter's drawing, the hint's place and the chooser's modal results.
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "dialogs/verzlayout.h"
#include "gui/win32/navigateaccessible.h"
#include "gui/win32/win32skin.h"
#include "platform/forwarding_platform.h"
#include "platform/text/utf8.h"
#include "platform/this_process.h"
#include "setup/layout.h"
#include "tests/support/meter_pixels.h"
#include "tests/support/recording_presenter.h"

namespace {

std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  return name;
}

bool HasStyle(HWND w, DWORD style) { return (GetWindowLongA(w, GWL_STYLE) & style) == style; }

// The sample medium of the checkout, seen by the program as its own folder.
std::string SampleProgramPath() {
  const char* root = std::getenv("SETUP_SOURCE_ROOT");
  std::string program = "Z:" + std::string(root ? root : "/work/main") + "/examples/medium/SETUP.EXE";
  for (char& c : program) c = c == '/' ? '\\' : c;
  return program;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : real(platform::MakeProcessPlatform()), medium(*real, SampleProgramPath()) {}
  ~MainWindowTest() override {
    wizard.reset();
    skin.reset();
    // The quit message of a destroyed window must not reach the next test.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  MainWindow& Window() {
    if (!skin) {
      skin = std::make_unique<Win32Skin>(medium);
      wizard = std::make_unique<Wizard>(medium, *skin);
    }
    return skin->Window();
  }
  // Where a control of the window really lies, in its parent's coordinates.
  graphics::Rect PlaceOf(Control control) {
    const HWND w = Window().ControlHandle(control);
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return graphics::Rect{r.left, r.top, r.right, r.bottom};
  }
  int Page() { return wizard->Form().Controls().Page(); }
  bool Key(Control target, WPARAM key) {
    MSG msg{Window().ControlHandle(target), WM_KEYDOWN, key, 0, 0, {0, 0}};
    return Window().PreTranslate(msg);
  }

  RecordingPresenter presenter;
  std::unique_ptr<platform::Platform> real;
  platform::ProgramAtPlatform medium;
  std::unique_ptr<Win32Skin> skin;
  std::unique_ptr<Wizard> wizard;
};

TEST_F(MainWindowTest, EveryControlIsBuiltAsItsRowDescribes) {
  const std::map<ControlKind, std::string> classes = {
      {ControlKind::kBanner, "SetupBanner"},     {ControlKind::kPanel, "SetupContainer"},
      {ControlKind::kPushButton, "Button"},      {ControlKind::kNotebook, "SetupContainer"},
      {ControlKind::kNavigate, "SetupNavigate"}, {ControlKind::kHeading, "Static"},
      {ControlKind::kLabel, "Static"},           {ControlKind::kSpeedButton, "Button"},
      {ControlKind::kComboBox, "ComboBox"},      {ControlKind::kMemo, "Edit"},
      {ControlKind::kCheckBox, "Button"},        {ControlKind::kEdit, "Edit"},
      {ControlKind::kMeter, "SetupMeter"}};
  MainWindow& w = Window();
  for (const ControlLayout& row : MainFormLayout()) {
    SCOPED_TRACE(ControlName(row.control));
    const HWND h = w.ControlHandle(row.control);
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(GetDlgCtrlID(h), ControlId(row.control));
    EXPECT_EQ(_stricmp(ClassOf(h).c_str(), classes.at(row.kind).c_str()), 0) << ClassOf(h);
    EXPECT_EQ(HasStyle(h, WS_TABSTOP), row.tabOrder >= 0);
    if (row.kind != ControlKind::kComboBox && !row.autoSize) {
      EXPECT_TRUE(PlaceOf(row.control) == row.bounds);
    }
    if (row.kind == ControlKind::kCheckBox) {
      EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED, row.checked);
    }
    if (row.kind == ControlKind::kMemo) {
      EXPECT_TRUE(HasStyle(h, ES_READONLY | ES_MULTILINE | WS_VSCROLL));
    }
    if (row.kind == ControlKind::kEdit) {
      EXPECT_TRUE(HasStyle(h, ES_READONLY));
    }
    // Page controls sit on a page window of the notebook.
    const HWND parent = GetParent(h);
    if (row.parent == Control::Hauptseite) {
      EXPECT_EQ(GetParent(parent), w.ControlHandle(Control::Hauptseite));
    }
    if (row.parent == Control::Panel_Gesamt) {
      EXPECT_EQ(parent, w.ControlHandle(Control::Panel_Gesamt));
    }
    if (row.parent == Control::kCount) {
      EXPECT_EQ(parent, w.Handle());
    }
  }
}

TEST_F(MainWindowTest, TabStopsFollowTheTableWithinEachParent) {
  MainWindow& w = Window();
  std::map<HWND, std::map<int, HWND>> wanted;
  for (const ControlLayout& row : MainFormLayout()) {
    if (row.tabOrder >= 0) wanted[GetParent(w.ControlHandle(row.control))][row.tabOrder] = w.ControlHandle(row.control);
  }
  for (const auto& [parent, byOrder] : wanted) {
    std::vector<HWND> expected;
    for (const auto& [order, h] : byOrder) expected.push_back(h);
    std::vector<HWND> actual;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (HasStyle(c, WS_TABSTOP)) actual.push_back(c);
    }
    EXPECT_EQ(actual, expected);
  }
}

// The dialog keys walk the first page's tab stops: the language box, Cancel,
// the side-bar, and round again (never the focus holder).
TEST_F(MainWindowTest, TabWalksThePageAndTheSideBar) {
  MainWindow& w = Window();
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  const std::vector<Control> chain = {Control::ComboBoxSprache, Control::Btn_Cancel, Control::KelvaNavigate1,
                                      Control::ComboBoxSprache};
  for (size_t i = 1; i < chain.size(); ++i) {
    SCOPED_TRACE(ControlName(chain[i - 1]));
    EXPECT_EQ(GetNextDlgTabItem(w.Handle(), w.ControlHandle(chain[i - 1]), FALSE), w.ControlHandle(chain[i]));
  }
  // The licence text hands Tab on to "I accept" (a multi-line text would
  // keep it) and keeps the arrow keys.
  ASSERT_TRUE(Key(Control::ComboBoxSprache, VK_RETURN));
  ASSERT_EQ(Page(), 1);
  const HWND memo = w.ControlHandle(Control::eula_Memo);
  MSG tab{memo, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  const LRESULT wants = SendMessageW(memo, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
  EXPECT_EQ(wants & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0);
  EXPECT_NE(wants & DLGC_WANTARROWS, 0);
  SetFocus(memo);
  EXPECT_TRUE(w.PreTranslate(tab));
  EXPECT_EQ(GetFocus(), w.ControlHandle(Control::accept_Button));
  // A button hidden while it has the focus (Browse, while its chooser is
  // open) has it again when it shows, not the page behind it.
  const HWND accept = w.ControlHandle(Control::accept_Button);
  w.SetVisible(Control::accept_Button, false);
  EXPECT_NE(GetFocus(), accept);
  w.SetVisible(Control::accept_Button, true);
  EXPECT_EQ(GetFocus(), accept);
}

TEST_F(MainWindowTest, KeysAndWindowMessagesReachTheController) {
  MainWindow& w = Window();
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  EXPECT_EQ(Page(), 0);
  struct Step {
    WPARAM key;
    int page;
  };
  // The language box keeps its arrow keys; Return steps on from it.
  Key(Control::ComboBoxSprache, VK_DOWN);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(SendMessageA(w.ControlHandle(Control::ComboBoxSprache), CB_GETCURSEL, 0, 0), 1);
  Key(Control::ComboBoxSprache, VK_UP);
  EXPECT_EQ(SendMessageA(w.ControlHandle(Control::ComboBoxSprache), CB_GETCURSEL, 0, 0), 0);
  // On the side-bar Return and Down step forward, Up steps back; the licence
  // page is as far as the keys go before the licence is accepted.
  for (const Step& s : {Step{VK_RETURN, 1}, Step{VK_DOWN, 1}, Step{VK_UP, 0}, Step{VK_DOWN, 1}}) {
    EXPECT_TRUE(Key(Control::KelvaNavigate1, s.key));
    EXPECT_EQ(Page(), s.page) << "key " << s.key;
  }
  Key(Control::KelvaNavigate1, 'A');  // not a step key: the page stays
  EXPECT_EQ(Page(), 1);
  SendMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(ControlId(Control::accept_Button), BN_CLICKED),
               reinterpret_cast<LPARAM>(w.ControlHandle(Control::accept_Button)));
  EXPECT_TRUE(wizard->Form().EulaAccepted());
  EXPECT_EQ(Page(), 2);

  MINMAXINFO limits{};
  SendMessageA(w.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 600);
  EXPECT_EQ(limits.ptMinTrackSize.y, 480);

  // A resize centres the panel in the client area.
  RECT outer{0, 0, 1000, 800};
  AdjustWindowRectEx(&outer, GetWindowLongA(w.Handle(), GWL_STYLE), FALSE, GetWindowLongA(w.Handle(), GWL_EXSTYLE));
  SetWindowPos(w.Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER);
  EXPECT_TRUE(PlaceOf(Control::Panel_Gesamt) == graphics::RectAt(260, 200, 480, 400));

  w.SetBusyCursor(true);
  EXPECT_TRUE(SendMessageA(w.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.Handle()), HTCLIENT));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  w.SetBusyCursor(false);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));

  SendMessageA(w.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w.ControlHandle(Control::KelvaNavigate1)));
}

// What a screen reader is told of the main window's controls: names from
// their labels, the banner's text, the meter as a progress bar with its value.
TEST_F(MainWindowTest, ScreenReadersNameEveryControl) {
  CoInitialize(nullptr);
  MainWindow& w = Window();
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  wizard->Meter().SetMaxValue(4);
  wizard->Meter().SetUserValue(1);
  const struct {
    Control control;
    LONG role;
    const char* name;
    const char* value;  // nullptr: not asked
  } cases[] = {
      {Control::KCLabel_1, ROLE_SYSTEM_STATICTEXT, "Sirel 2.0 Version 2.0.0.1", nullptr},
      {Control::eula_Memo, ROLE_SYSTEM_TEXT, "Licence agreement", nullptr},
      {Control::zielDXF_Edit, ROLE_SYSTEM_TEXT, "Target directory of the DXF drawings:", nullptr},
      {Control::KCMeter_File, ROLE_SYSTEM_PROGRESSBAR, "Installing files", "25%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ControlName(c.control));
    IAccessible* a = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(w.ControlHandle(c.control), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&a)),
              S_OK);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    a->get_accRole(self, &role);
    EXPECT_EQ(role.lVal, c.role);
    const auto read = [](HRESULT hr, BSTR text) {
      std::string out;
      if (hr == S_OK && text) {
        out = text::FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
        SysFreeString(text);
      }
      return out;
    };
    BSTR text = nullptr;
    const HRESULT named = a->get_accName(self, &text);
    EXPECT_EQ(read(named, text), c.name);
    if (c.value) {
      text = nullptr;
      const HRESULT valued = a->get_accValue(self, &text);
      EXPECT_EQ(read(valued, text), c.value);
    }
    a->Release();
  }
  // Windows names a list box by the label just before it (Wine's object for
  // a list box shows only its value, so that is checked by its place).
  for (Control box : {Control::ComboBoxSprache, Control::drive_Combo}) {
    EXPECT_EQ(GetWindow(w.ControlHandle(box), GW_HWNDPREV), w.ControlHandle(LabelOf(box))) << ControlName(box);
  }
  CoUninitialize();
}

TEST_F(MainWindowTest, SystemMenuAndCloseBoxOnlyAndThePanelCoversTheBanner) {
  MainWindow& w = Window();
  const struct {
    DWORD bit;
    bool set;
  } styles[] = {
      {WS_SYSMENU, true}, {WS_CAPTION, true}, {WS_THICKFRAME, true}, {WS_MINIMIZEBOX, false}, {WS_MAXIMIZEBOX, false}};
  for (const auto& c : styles) EXPECT_EQ(HasStyle(w.Handle(), c.bit), c.set) << std::hex << c.bit;

  // At the smallest size the panel overlaps the banner and lies above it.
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  SetWindowPos(w.Handle(), nullptr, 0, 0, kMinTrackWidth, kMinTrackHeight, SWP_NOZORDER);
  const HWND panel = w.ControlHandle(Control::Panel_Gesamt);
  const HWND banner = w.ControlHandle(Control::KCLabel_1);
  RECT a, b, overlap;
  GetWindowRect(panel, &a);
  GetWindowRect(banner, &b);
  EXPECT_TRUE(IntersectRect(&overlap, &a, &b));
  bool bannerBelow = false;
  for (HWND next = GetWindow(panel, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    bannerBelow = bannerBelow || next == banner;
  }
  EXPECT_TRUE(bannerBelow);
  EXPECT_TRUE(HasStyle(banner, WS_CLIPSIBLINGS));  // it does not paint over the panel
}

// A control's font height in pixels.
int FontPixels(HWND w) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

// How much room a control's text needs in its font: on one line, or
// wrapped at the control's width.
SIZE TextNeeds(HWND w, bool wrap, int width) {
  const std::wstring text = win32skin::WindowText(w);
  HDC dc = GetDC(w);
  const HGDIOBJ saved = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, saved);
  ReleaseDC(w, dc);
  return SIZE{r.right, r.bottom};
}

// On the screen it opens on and after each move to a screen of another
// scale, every control stands where its row puts it, its size and font
// scaled by dots per inch / 96, and no caption in either language is wider
// (or, wrapped, taller) than its control. SETUP_EXPECT_DPI names the scale
// the system must report: the Windows suite runs this again at 144.
TEST_F(MainWindowTest, EveryControlScalesWithTheScreen) {
  MainWindow& w = Window();
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  if (const char* expected = std::getenv("SETUP_EXPECT_DPI")) {
    ASSERT_EQ(w.Scale().value(), std::atoi(expected));
  }
  const HWND languages = w.ControlHandle(Control::ComboBoxSprache);
  // The chooser takes the scale of the window it belongs to.
  const HWND chooser = skin->Chooser().Handle();
  RECT client;
  GetClientRect(chooser, &client);
  EXPECT_NEAR(client.right, kDlgClientWidth * w.Scale().value() / 96.0, 2);
  EXPECT_NEAR(client.bottom, kDlgClientHeight * w.Scale().value() / 96.0, 2);
  EXPECT_NEAR(FontPixels(GetDlgItem(chooser, DlgControlId(DlgControl::BtnOK))),
              kDlgFontPixels * w.Scale().value() / 96.0, 1);
  for (const int moveTo : {0, 192, 120, 96}) {
    if (moveTo) {
      RECT proposed;
      GetWindowRect(w.Handle(), &proposed);
      SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(moveTo, moveTo), reinterpret_cast<LPARAM>(&proposed));
      EXPECT_EQ(w.Scale().value(), moveTo);
    }
    const double f = w.Scale().value() / 96.0;
    SCOPED_TRACE("at " + std::to_string(w.Scale().value()) + " dpi");
    MINMAXINFO limits{};
    SendMessageW(w.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_NEAR(limits.ptMinTrackSize.x, kMinTrackWidth * f, 2);
    EXPECT_NEAR(limits.ptMinTrackSize.y, kMinTrackHeight * f, 2);
    for (const int language : {0, 1}) {
      SendMessageW(languages, CB_SETCURSEL, language, 0);
      SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(ControlId(Control::ComboBoxSprache), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(languages));
      for (const ControlLayout& row : MainFormLayout()) {
        SCOPED_TRACE(std::string(ControlName(row.control)) + " in language " + std::to_string(language));
        const HWND h = w.ControlHandle(row.control);
        const graphics::Rect at = PlaceOf(row.control);
        if (row.control == Control::nutzloser_Button) continue;  // never shown
        // The panel and the banner follow the window's size; the combo
        // boxes and the labels that fit their text size themselves.
        if (row.kind != ControlKind::kComboBox && !row.autoSize) {
          if (row.control != Control::KCLabel_1) {
            EXPECT_NEAR(at.width(), row.bounds.width() * f, 2);
          }
          EXPECT_NEAR(at.height(), row.bounds.height() * f, 2);
          if (row.control != Control::Panel_Gesamt && row.control != Control::KCLabel_1) {
            EXPECT_NEAR(at.left, row.bounds.left * f, 2);
            EXPECT_NEAR(at.top, row.bounds.top * f, 2);
          }
        }
        if (row.kind != ControlKind::kNavigate && row.kind != ControlKind::kMeter && row.kind != ControlKind::kPanel &&
            row.kind != ControlKind::kNotebook) {
          EXPECT_NEAR(FontPixels(h), (row.fontPixels ? row.fontPixels : kWindowFontPixels) * f, 1);
        }
        const bool captioned = row.kind == ControlKind::kLabel || row.kind == ControlKind::kHeading ||
                               row.kind == ControlKind::kPushButton || row.kind == ControlKind::kSpeedButton ||
                               row.kind == ControlKind::kCheckBox;
        if (!captioned || GetWindowTextLengthW(h) == 0) continue;
        // A check box's caption stands right of its box, a button's inside its edge.
        const int room = at.width() - (row.kind == ControlKind::kCheckBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                                       : row.kind == ControlKind::kLabel || row.kind == ControlKind::kHeading ? 0
                                                                                                              : 4);
        const SIZE needs = TextNeeds(h, row.wordWrap, room);
        EXPECT_LE(needs.cx, room) << win32skin::Utf8(win32skin::WindowText(h));
        if (row.wordWrap) {
          EXPECT_LE(needs.cy, at.height()) << win32skin::Utf8(win32skin::WindowText(h));
        }
      }
    }
  }
}

TEST_F(MainWindowTest, TheMeterIsDrawnFromItsModel) {
  MainWindow& w = Window();
  ASSERT_TRUE(wizard->Start(CommandLine{}, nullptr));
  TKCProgress& meter = wizard->Meter();
  meter.SetMaxValue(4);
  meter.SetUserValue(2);  // 50 %: ten of twenty segments
  const HWND h = w.ControlHandle(Control::KCMeter_File);
  RECT r;
  GetClientRect(h, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  const HGDIOBJ saved = SelectObject(dc, bitmap);
  SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const auto at = [dc](int x, int y) {
    const COLORREF c = GetPixel(dc, x, y);
    return graphics::Color{GetRValue(c), GetGValue(c), GetBValue(c)};
  };
  for (const MeterPixel& p : HalfFullMeterPixels(r.right, r.bottom)) EXPECT_EQ(at(p.x, p.y), p.colour) << p.what;
  const SplitInk ink = MeterSplitInk(at);
  EXPECT_GT(ink.whiteLeft, 5) << "white text left of the split";
  EXPECT_GT(ink.navyRight, 5) << "navy text right of the split";
  SelectObject(dc, saved);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(Win32Hint, AppearsBelowRightOfThePointerAndHides) {
  win32skin::ShowHint(POINT{100, 120}, "Next step");
  ASSERT_TRUE(win32skin::HintVisible());
  RECT r;
  GetWindowRect(win32skin::HintWindow(), &r);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 138);
  win32skin::ShowHint(POINT{100, 120}, "");
  EXPECT_FALSE(win32skin::HintVisible());
}

// A folder name in Greek letters (Ellinika).
const std::string kGreek = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";

// The chooser on a real folder with the subfolders "Sub" and one in Greek.
class ChooserTest : public ::testing::Test {
 public:
  ChooserTest() : platform(platform::MakeProcessPlatform()), controller(*platform, nullptr) {
    const char* tmp = std::getenv("TEMP");
    root = std::string(tmp ? tmp : "C:\\windows\\temp") + "\\chooser-test-" + std::to_string(GetTickCount());
    platform->MakeDirectories(root + "\\Sub");
    platform->MakeDirectories(root + "\\" + kGreek);
    window = std::make_unique<ChooserWindow>(*platform, nullptr);
    controller.SetView(window.get());
    window->Attach(&controller);
    controller.StartDir = root;
  }
  ~ChooserTest() override {
    controller.SetView(nullptr);
    window.reset();
    platform->RemoveDirectory(root + "\\Sub");
    platform->RemoveDirectory(root + "\\" + kGreek);
    platform->RemoveDirectory(root);
  }
  void Command(DlgControl control, WORD code) {
    const HWND h = GetDlgItem(window->Handle(), DlgControlId(control));
    SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(DlgControlId(control), code), reinterpret_cast<LPARAM>(h));
  }
  HWND List() const { return GetDlgItem(window->Handle(), DlgControlId(DlgControl::DirectoryListBox1)); }
  // The row of a name, found by the list's own wide search.
  int ListIndexOf(const std::string& name) {
    return static_cast<int>(SendMessageW(List(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(win32skin::Wide(name).c_str())));
  }
  std::wstring ListText(int row) {
    std::wstring text(static_cast<size_t>(SendMessageW(List(), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0)), L'\0');
    SendMessageW(List(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text[0]));
    return text;
  }

  std::unique_ptr<platform::Platform> platform;
  TVerzeichnisDlg controller;
  std::unique_ptr<ChooserWindow> window;
  std::string root;
};

TEST_F(ChooserTest, ModalResultsAndTheChosenDirectory) {
  struct Case {
    const char* what;
    std::string enter;  // a subfolder chosen in the list first, or nothing
    std::function<void(ChooserTest&)> finish;
    int result;
    std::string selected;  // relative to root; "<start>" = StartDir
  };
  const std::vector<Case> cases = {
      {"OK on the start folder", "", [](ChooserTest& t) { t.Command(DlgControl::BtnOK, BN_CLICKED); }, 1, ""},
      {"OK after entering Sub", "Sub", [](ChooserTest& t) { t.Command(DlgControl::BtnOK, BN_CLICKED); }, 1, "\\Sub"},
      {"OK after entering the Greek folder", kGreek, [](ChooserTest& t) { t.Command(DlgControl::BtnOK, BN_CLICKED); },
       1, "\\" + kGreek},
      {"abort", "Sub", [](ChooserTest& t) { t.Command(DlgControl::BtnAbort, BN_CLICKED); }, 3, "<start>"},
      {"closed", "Sub", [](ChooserTest& t) { SendMessageA(t.window->Handle(), WM_CLOSE, 0, 0); }, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    controller.SelectedDir.clear();
    window->SetModalLoop([&](const std::function<bool()>& done) {
      EXPECT_TRUE(IsWindowVisible(window->Handle()));
      EXPECT_FALSE(done());
      if (!c.enter.empty()) {
        const int row = ListIndexOf(c.enter);
        ASSERT_GE(row, 0);
        SendMessageA(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        Command(DlgControl::DirectoryListBox1, LBN_SELCHANGE);
      }
      c.finish(*this);
      EXPECT_TRUE(done());
    });
    EXPECT_EQ(controller.ShowModal(), c.result);
    EXPECT_FALSE(IsWindowVisible(window->Handle()));
    if (c.result == 1) {
      EXPECT_EQ(controller.SelectedDir, root + c.selected);
    }
    if (c.result == 3) {
      EXPECT_EQ(controller.SelectedDir, root);
    }
  }
}

// No label stands before the folder list and the drive box: a screen reader
// knows both by the chooser's caption, and the rest as the system tells it.
TEST_F(ChooserTest, ScreenReadersKnowTheListsByTheCaption) {
  CoInitialize(nullptr);
  controller.SetCaption("Zielverzeichnis w\xC3\xA4hlen");
  for (DlgControl control : {DlgControl::DirectoryListBox1, DlgControl::DriveComboBox1}) {
    IAccessible* a = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(GetDlgItem(window->Handle(), DlgControlId(control)), OBJID_CLIENT,
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&a)),
              S_OK);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    ASSERT_EQ(a->get_accName(self, &name), S_OK);
    EXPECT_EQ(text::FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(name), SysStringLen(name))),
              "Zielverzeichnis w\xC3\xA4hlen");
    SysFreeString(name);
    LONG children = -1;
    EXPECT_EQ(a->get_accChildCount(&children), S_OK) << "the system's object answers the rest";
    a->Release();
  }
  CoUninitialize();
}

TEST_F(ChooserTest, ListAndDriveBoxShowTheModel) {
  controller.FormShow();
  const HWND list = GetDlgItem(window->Handle(), DlgControlId(DlgControl::DirectoryListBox1));
  const auto& entries = controller.List().Entries();
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(entries.size()));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), controller.List().SelectedIndex());
  EXPECT_GE(ListIndexOf("Sub"), 0);
  // The Greek name is listed in its own letters, as the list draws it.
  const int greek = ListIndexOf(kGreek);
  ASSERT_GE(greek, 0);
  EXPECT_TRUE(ListText(greek) == win32skin::Wide(kGreek));
  EXPECT_EQ(controller.List().Entries()[static_cast<size_t>(greek)].name, kGreek);
  const HWND drives = GetDlgItem(window->Handle(), DlgControlId(DlgControl::DriveComboBox1));
  char text[8] = {};
  SendMessageA(drives, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageA(drives, CB_GETCURSEL, 0, 0)),
               reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::string(text), root.substr(0, 2));
  char path[MAX_PATH] = {};
  GetWindowTextA(GetDlgItem(window->Handle(), DlgControlId(DlgControl::LblPath)), path, sizeof(path));
  EXPECT_EQ(std::string(path).substr(0, 3), root.substr(0, 3));
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), kDlgItemHeight);
}

}  // namespace

namespace {

// Text reaches the wide calls as the characters it names, whatever the
// system's code page: UTF-8, and bytes that are not UTF-8 as Windows-1252.
TEST(Win32Text, SetupTextReachesTheWideCalls) {
  struct Case {
    std::string in;
    std::wstring out;
  };
  const std::vector<Case> cases = {
      {"Target directories", L"Target directories"},
      {"Gr\xc3\xb6\xc3\x9f"
       "e \xe2\x82\xac",
       L"Gr\u00f6\u00dfe \u20ac"},  // UTF-8
      {"Gr\xf6\xdf"
       "e \x80",
       L"Gr\u00f6\u00dfe \u20ac"},                                                          // Windows-1252
      {"\xce\x95\xce\xbb \xe6\x97\xa5\xf0\x9f\x93\x90", L"\u0395\u03bb \u65e5\U0001f4d0"},  // beyond one code page
      {"", L""},
  };
  for (const Case& c : cases) EXPECT_TRUE(win32skin::Wide(c.in) == c.out) << c.in;
}

// A SETUP.INF in UTF-8 with Greek letters and umlauts: the window shows its
// texts as written, read back from the controls in UTF-16.
TEST(Win32Text, SetupInfTextShowsInTheControls) {
  const auto real = platform::MakeProcessPlatform();
  const char* tmp = std::getenv("TEMP");
  const std::string medium =
      std::string(tmp ? tmp : "C:\\windows\\temp") + "\\text-test-" + std::to_string(GetTickCount());
  ASSERT_TRUE(real->MakeDirectories(medium));
  const std::string language = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
  const std::string welcome =
      "Willkommen, M\u00fcller! \u039a\u03b1\u03bb\u03ce\u03c2 \u03ae\u03c1\u03b8\u03b1\u03c4\u03b5";
  const std::string components =
      "Komponenten f\u00fcr die Pr\u00fcfung: \u03a3\u03c5\u03c3\u03c4\u03b1\u03c4\u03b9\u03ba\u03ac";
  const std::string inf = "[Languages]\r\n1=" + language + "\r\n[" + language + "]\r\nTxt_005=" + welcome +
                          "\r\nTxt_018=" + components + "\r\n";
  const platform::AppendHandle h = real->OpenAppend(medium + "\\SETUP.INF");
  ASSERT_NE(h, platform::kNoAppend);
  ASSERT_TRUE(real->Append(h, inf, true));
  real->CloseAppend(h);
  {
    RecordingPresenter presenter;
    platform::ProgramAtPlatform program(*real, medium + "\\SETUP.EXE");
    Win32Skin skin(program);
    Wizard wizard(program, skin);
    ASSERT_TRUE(wizard.Start(CommandLine{}, nullptr));
    MainWindow& window = skin.Window();
    struct Case {
      const char* what;
      std::wstring shown;
      std::string written;
    } const cases[] = {
        {"label", win32skin::WindowText(window.ControlHandle(Control::Label_105)), welcome},
        {"label on a later page", win32skin::WindowText(window.ControlHandle(Control::Label_118)), components},
    };
    for (const Case& c : cases) EXPECT_TRUE(c.shown == win32skin::Wide(c.written)) << c.what;
    const HWND box = window.ControlHandle(Control::ComboBoxSprache);
    ASSERT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 1);
    std::wstring item(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXTLEN, 0, 0)), L'\0');
    SendMessageW(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&item[0]));
    EXPECT_TRUE(item == win32skin::Wide(language)) << "the language box";
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  real->RemoveFile(medium + "\\SETUP.INF");
  real->RemoveDirectory(medium);
}

}  // namespace

namespace {

// The side-bar in a window of its own: clicks and the pointer reach the
// model at the places the model gives its steps and buttons.
class NavigateWindowTest : public ::testing::Test {
 public:
  NavigateWindowTest() {
    parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 400, nullptr, nullptr, nullptr, nullptr);
    bar = std::make_unique<NavigateWindow>(parent, 7, graphics::Rect{0, 0, 143, 400}, win32skin::Dpi());
    model = std::make_unique<TKelvaNavigate>(&bar->Host());
    bar->SetModel(model.get());
    TKelvaNavigate& nav = bar->Model();
    nav.SetLines({"Language", "Licence", "Components", "Targets", "Installation"});
    for (int i = 0; i < 5; ++i) nav.SetItemEnabled(i, true);
    nav.SetSelectLinear(false);
    nav.SetOnSelect([this](void*, int tab, bool&) { offered.push_back(tab); });
  }
  ~NavigateWindowTest() override {
    bar->SetModel(nullptr);
    model.reset();
    bar.reset();
    DestroyWindow(parent);
  }
  // The centre of a rectangle of the list, in the side-bar's coordinates.
  POINT StepCentre(int index) {
    const TKelvaNavigate& nav = bar->Model();
    const graphics::Rect item = nav.List().ItemRect(index);
    const graphics::Point origin = nav.ListOrigin();
    return POINT{origin.x + (item.left + item.right) / 2, origin.y + (item.top + item.bottom) / 2};
  }
  POINT Centre(NavigatePart part) {
    const graphics::Rect r = bar->Model().Child(part).bounds;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(POINT p, bool right) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, at);
    SendMessageA(bar->Handle(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    SendMessageA(bar->Handle(), right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
  }

  HWND parent = nullptr;
  std::unique_ptr<NavigateWindow> bar;
  std::unique_ptr<TKelvaNavigate> model;
  std::vector<int> offered;
};

TEST_F(NavigateWindowTest, ClicksReachTheStepsAndButtons) {
  struct Case {
    const char* what;
    std::function<POINT(NavigateWindowTest&)> where;
    int offered;  // the step offered to OnSelect, -1: none
    bool right = false;
  };
  const std::vector<Case> cases = {
      {"third step", [](NavigateWindowTest& t) { return t.StepCentre(2); }, 2},
      {"last step", [](NavigateWindowTest& t) { return t.StepCentre(4); }, 4},
      {"previous button", [](NavigateWindowTest& t) { return t.Centre(NavigatePart::kPrev); }, 3},
      {"next button", [](NavigateWindowTest& t) { return t.Centre(NavigatePart::kNext); }, 4},
      {"the logo", [](NavigateWindowTest& t) { return t.Centre(NavigatePart::kLogo); }, -1},
      {"previous, right button", [](NavigateWindowTest& t) { return t.Centre(NavigatePart::kPrev); }, -1, true},
      {"second step, right button", [](NavigateWindowTest& t) { return t.StepCentre(1); }, 1, true},
  };
  for (const Case& c : cases) {
    offered.clear();
    Click(c.where(*this), c.right);
    EXPECT_NE(GetCapture(), bar->Handle()) << c.what;
    if (c.offered < 0) {
      EXPECT_TRUE(offered.empty()) << c.what;
    } else {
      ASSERT_EQ(offered.size(), 1u) << c.what;
      EXPECT_EQ(offered[0], c.offered) << c.what;
      EXPECT_EQ(bar->Model().ItemIndex(), c.offered) << c.what;
    }
  }
}

TEST_F(NavigateWindowTest, TheHandCursorOverAChoosableStep) {
  const POINT over = StepCentre(1);
  SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_TRUE(bar->Model().List().HandCursor());
  const POINT outside{2, 399};
  SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
  EXPECT_FALSE(bar->Model().List().HandCursor());
}

}  // namespace

namespace {

// The message loop as the engine sees it: a pass handles what is pending,
// the quit message ends it, and calls from a worker thread run on the GUI
// thread.
// The side-bar as a screen reader reads it through Active Accessibility:
// parts, the step list, names, roles, states, the selection and pressing.
TEST_F(NavigateWindowTest, ScreenReadersReadTheStepsAndButtons) {
  CoInitialize(nullptr);
  bar->Model().SetHintPrevious("Previous step");
  bar->Model().SetHintNext("Next step");
  bar->Model().SetItemEnabled(3, false);
  IAccessible* client = nullptr;
  ASSERT_EQ(
      AccessibleObjectFromWindow(bar->Handle(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&client)),
      S_OK);
  const auto id = [](LONG n) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = n;
    return v;
  };
  const auto name = [&](IAccessible* a, LONG child) {
    BSTR text = nullptr;
    std::string out;
    if (a->get_accName(id(child), &text) == S_OK && text) {
      out = text::FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
      SysFreeString(text);
    }
    return out;
  };
  const auto role = [&](IAccessible* a, LONG child) {
    VARIANT v;
    a->get_accRole(id(child), &v);
    return v.lVal;
  };
  const auto state = [&](IAccessible* a, LONG child) {
    VARIANT v;
    a->get_accState(id(child), &v);
    return v.lVal;
  };
  LONG parts = 0;
  client->get_accChildCount(&parts);
  EXPECT_EQ(parts, 5);
  const struct {
    LONG child;
    LONG role;
    const char* name;
  } buttons[] = {{4, ROLE_SYSTEM_PUSHBUTTON, "Previous step"}, {5, ROLE_SYSTEM_PUSHBUTTON, "Next step"}};
  for (const auto& b : buttons) {
    EXPECT_EQ(role(client, b.child), b.role);
    EXPECT_EQ(name(client, b.child), b.name);
  }
  EXPECT_TRUE(state(client, 4) & STATE_SYSTEM_UNAVAILABLE);  // previous, on the first step
  IDispatch* listDispatch = nullptr;
  ASSERT_EQ(client->get_accChild(id(2), &listDispatch), S_OK);
  IAccessible* list = nullptr;
  ASSERT_EQ(listDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&list)), S_OK);
  listDispatch->Release();
  EXPECT_EQ(role(list, CHILDID_SELF), ROLE_SYSTEM_LIST);
  LONG steps = 0;
  list->get_accChildCount(&steps);
  ASSERT_EQ(steps, 5);
  const char* const captions[] = {"Language", "Licence", "Components", "Targets", "Installation"};
  for (LONG i = 1; i <= steps; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(role(list, i), ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(name(list, i), captions[i - 1]);
    EXPECT_EQ((state(list, i) & STATE_SYSTEM_SELECTED) != 0, i == 1);
    EXPECT_EQ((state(list, i) & STATE_SYSTEM_UNAVAILABLE) != 0, i == 4);
  }
  // Next, pressed through its default action, selects the second step.
  EXPECT_EQ(client->accDoDefaultAction(id(5)), S_OK);
  EXPECT_EQ(bar->Model().ItemIndex(), 1);
  VARIANT selection;
  list->get_accSelection(&selection);
  EXPECT_EQ(selection.lVal, 2);
  EXPECT_EQ(name(client, win32skin::kStepChildBase + 2), "Licence");  // the id the step events name
  // Once the model is gone the objects answer nothing.
  bar->SetModel(nullptr);
  EXPECT_EQ(name(list, 1), "");
  list->Release();
  client->Release();
  CoUninitialize();
}

TEST(Win32EventLoopTest, PassesQuitAndCallsFromAWorker) {
  win32skin::Win32EventLoop loop;
  std::atomic<bool> done{false};
  DWORD ranOn = 0;
  std::thread worker([&] {
    loop.Synchronize([&] { ranOn = GetCurrentThreadId(); });
    done = true;
  });
  const DWORD until = GetTickCount() + 5000;
  while (!done && GetTickCount() < until) {
    loop.ProcessMessages();
    Sleep(1);
  }
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(ranOn, GetCurrentThreadId());

  // Every pass handles what is pending, however soon after the last.
  loop.ProcessMessages();
  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
  loop.ProcessMessages();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE));

  // After the quit message the loop is ending: a worker's call is not run.
  PostQuitMessage(0);
  Sleep(40);
  loop.ProcessMessages();
  EXPECT_TRUE(loop.Terminating());
  bool ran = false;
  std::thread late([&] { loop.Synchronize([&] { ran = true; }); });
  late.join();
  EXPECT_FALSE(ran);
}

}  // namespace
