#include "setup/mainform.h"

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "navigate/navigate.h"
#include "platform/fault_platform.h"
#include "setup/installlog.h"
#include "setup/layout.h"
#include "tests/support/fake_mainform_view.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/scripted_dlg_view.h"
#include "tests/support/temp_medium.h"

namespace {

std::string Texts(const char* section, const char* extra) {
  std::string s = std::string("[") + section + "]\n";
  s += "Txt_001=LICENSE.TXT\nTxt_002=Accept\nTxt_005=Welcome to %s\nTxt_019=No drive\n"
       "Txt_022=Sirel target\nTxt_023=DXF target\nTxt_024=Copy failed\nTxt_025=%s cancelled (%s)\n"
       "Txt_031=Done\nTxt_060=Browse\nTxt_061=Version %s\nTxt_063=Language\nTxt_064=Licence\n"
       "Txt_065=Selection\nTxt_066=Targets\nTxt_067=Copy\nTxt_072=Kelva \nTxt_074=Cancel\n"
       "Txt_075=Next\nTxt_076=Back\nTxt_080= Setup\nTxt_099=App\n"
       "Txt_500=README.TXT\nTxt_600=macros\\;MACROS\nTxt_800=dxf\\;DRAWINGS\n";
  return s + extra;
}

// An event loop whose close requests come from the form.
class FormLoop : public EventLoop {
 public:
  void ProcessMessages() override {
    if (onMessages) onMessages();
  }
  bool Terminating() override { return form && form->CloseRequested(); }
  void Synchronize(const std::function<void()>& call) override { call(); }
  TMainForm* form = nullptr;
  std::function<void()> onMessages;
};

// A medium on D: (program D:\SETUP.EXE), targets on C: and E:.
class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    TempDrives::Write(drives.Host('D', "SETUP.INF"),
                      "[BootSetup]\nVersion=2.0.0.1\nDefaultDir=SIREL\n[Languages]\n1=English\n2=Deutsch\n" +
                          Texts("English", "Txt_073=Sirel\n") + Texts("Deutsch", "Txt_073=Sirel DE\n"));
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence text");
    TempDrives::Write(drives.Host('D', "README.TXT"), "readme");
    TempDrives::Write(drives.Host('D', "macros/a.mac"), "a");
    TempDrives::Write(drives.Host('D', "macros/sub/b.mac"), "b");
    TempDrives::Write(drives.Host('D', "dxf/x.dxf"), "0\nEOF\n");
    loop.form = &form;
  }

  TKelvaNavigate& nav() { return view.Navigate(); }
  // The user picks dir (which must exist) in the chooser of a browse button.
  void Browse(void (TMainForm::*click)(), const std::string& dir) {
    TVerzeichnisDlg chooser(faults, nullptr);
    ScriptedDlgView dlgView;
    chooser.SetView(&dlgView);
    dlgView.press = [&] {
      ASSERT_TRUE(chooser.List().SetDirectory(dir)) << dir;
      chooser.BtnOKClick();
    };
    form.SetDialog(&chooser);
    (form.*click)();
    form.SetDialog(nullptr);
  }
  void Key(int key) {
    int k = key;
    form.FormKeyDown(k);
    EXPECT_EQ(k, 0);
  }

  TempDrives drives{"CDE"};
  platform::FaultPlatform faults{drives.platform()};
  FormLoop loop;
  FakeMainFormView view;
  RecordingPresenter presenter;
  TMainForm form{faults, loop, view, view.Navigate()};
};

TEST_F(MainFormTest, StartUpBindsTheFirstLanguage) {
  ASSERT_TRUE(form.FormCreate());
  EXPECT_EQ(view.caption, "Kelva Sirel Setup");
  EXPECT_EQ(view.Text(Control::KCLabel_1), "Sirel Version 2.0.0.1");
  EXPECT_EQ(view.Text(Control::Label_105), "Welcome to Sirel");
  EXPECT_EQ(view.Text(Control::Label_103), kLegalNotice);
  EXPECT_EQ(view.appTitle, "App Setup");
  EXPECT_EQ(view.page, 0);
  EXPECT_EQ(view.Enabled(), "01");
  EXPECT_EQ(nav().Lines(), (std::vector<std::string>{"Language", "Licence", "Selection", "Targets", "Copy"}));
  EXPECT_EQ(nav().HintNext(), "Next");
  EXPECT_EQ(view.Items(Control::ComboBoxSprache), (std::vector<std::string>{"English", "Deutsch"}));
  EXPECT_EQ(view.Bounds(Control::nutzloser_Button).width(), 0);
  EXPECT_EQ(faults.CurrentDirectory(), "C:\\");
  EXPECT_EQ(view.window, graphics::RectAt(0, 0, 1024, 768));
  EXPECT_TRUE(presenter.messages.empty());
}

TEST_F(MainFormTest, MissingSetupFileEndsStartUp) {
  std::remove(drives.Host('D', "SETUP.INF").c_str());
  EXPECT_FALSE(form.FormCreate());
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text, "File SETUP.INF not found");
  EXPECT_EQ(presenter.messages[0].caption, "Error");
  EXPECT_EQ(presenter.messages[0].flags, 0);
}

TEST_F(MainFormTest, PageFlowAndKeys) {
  ASSERT_TRUE(form.FormCreate());
  Key(VK_UP);  // nothing on page 0
  EXPECT_EQ(view.page, 0);
  Key(VK_RETURN);
  EXPECT_EQ(view.page, 1);
  EXPECT_EQ(view.Text(Control::eula_Memo), "licence text");
  EXPECT_EQ(view.focus, Control::eula_Memo);
  Key(VK_RETURN);  // step 2 stays disabled until accepted
  EXPECT_EQ(view.page, 1);
  form.accept_ButtonClick();
  EXPECT_EQ(view.page, 2);
  EXPECT_TRUE(form.EulaAccepted());
  EXPECT_EQ(view.Enabled(), "0123");
  Key(VK_UP);  // back to the licence keeps step 2
  EXPECT_EQ(view.page, 1);
  EXPECT_EQ(view.Enabled(), "0123");
  Key(VK_DOWN);
  EXPECT_EQ(view.page, 2);
  nav().SetItemIndex(0);  // step 0 from any page
  EXPECT_EQ(view.page, 0);
  nav().SetItemIndex(2);
  // A language change rebinds everything and resets the progress.
  form.UserSelected(Control::ComboBoxSprache, 1);
  EXPECT_EQ(view.caption, "Kelva Sirel DE Setup");
  EXPECT_EQ(view.Enabled(), "01");
  EXPECT_FALSE(form.EulaAccepted());
  int other = 65;  // 'A' passes on
  form.FormKeyDown(other);
  EXPECT_EQ(other, 65);
}

// Return, Up and Down step the pages unless the focused control uses them;
// each page gives the focus to a control of its own.
TEST_F(MainFormTest, KeysStepThePagesUnlessTheFocusedControlUsesThem) {
  ASSERT_TRUE(form.FormCreate());
  const struct {
    int key;
    Control focused;
    bool consumed;
  } cases[] = {
      {VK_DOWN, Control::ComboBoxSprache, false},  {VK_UP, Control::ComboBoxSprache, false},
      {VK_DOWN, Control::eula_Memo, false},        {VK_RETURN, Control::accept_Button, false},
      {VK_RETURN, Control::Btn_Cancel, false},     {VK_RETURN, Control::SirelZiel_Button, false},
      {VK_RETURN, Control::ComboBoxSprache, true}, {VK_RETURN, Control::eula_Memo, true},
      {VK_DOWN, Control::KelvaNavigate1, true},    {VK_DOWN, Control::Sirel_CheckBox, true},
      {VK_UP, Control::zielDXF_Edit, true},        {VK_DOWN, Control::kCount, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ControlName(c.focused));
    nav().SetItemIndex(0);
    int key = c.key;
    form.FormKeyDown(key, c.focused);
    EXPECT_EQ(key == 0, c.consumed);
    EXPECT_EQ(view.page, c.consumed && c.key != VK_UP ? 1 : 0);
  }
  form.accept_ButtonClick();
  const std::pair<int, Control> focusOf[] = {{0, Control::ComboBoxSprache},
                                             {1, Control::eula_Memo},
                                             {2, Control::Sirel_CheckBox},
                                             {3, Control::KelvaNavigate1}};
  for (const auto& [step, control] : focusOf) {
    view.focus = Control::kCount;
    nav().SetItemIndex(step);
    EXPECT_EQ(view.focus, control) << step;
  }
}

TEST_F(MainFormTest, CheckBoxesDecideStepThreeAndEmptyTargets) {
  ASSERT_TRUE(form.FormCreate());
  struct Case {
    bool sirel, sample, dxf;
    bool step3;
    bool sirelKept, dxfKept;
  };
  const Case cases[] = {
      {false, false, false, false, false, false}, {true, false, false, true, true, false},
      {false, true, false, true, true, false},    {false, false, true, true, false, true},
      {true, true, true, true, true, true},
  };
  TempDrives::Write(drives.Host('C', "S/keep"), "");
  TempDrives::Write(drives.Host('C', "D/keep"), "");
  for (const Case& c : cases) {
    for (Control box : {Control::Sirel_CheckBox, Control::Beispiel_CheckBox, Control::DXF_CheckBox}) {
      form.UserChecked(box, true);
    }
    Browse(&TMainForm::SirelZiel_ButtonClick, "C:\\S");
    Browse(&TMainForm::BtnZielverzeichnisClick, "C:\\D");
    nav().SetItemEnabled(4, true);
    form.UserChecked(Control::Sirel_CheckBox, c.sirel);
    form.UserChecked(Control::Beispiel_CheckBox, c.sample);
    form.UserChecked(Control::DXF_CheckBox, c.dxf);
    const std::string name = std::to_string(c.sirel) + std::to_string(c.sample) + std::to_string(c.dxf);
    EXPECT_EQ(nav().List().Heights().GetEnabled(3), c.step3) << name;
    EXPECT_FALSE(nav().List().Heights().GetEnabled(4)) << name;
    EXPECT_EQ(view.Text(Control::zielSirel_Edit).empty(), !c.sirelKept) << name;
    EXPECT_EQ(view.Text(Control::zielDXF_Edit).empty(), !c.dxfKept) << name;
  }
}

TEST_F(MainFormTest, DestinationPageOffersOrAsksForABrowse) {
  ASSERT_TRUE(form.FormCreate());
  struct Case {
    const char* name;
    bool offer;  // C:\SIREL exists
    bool sirel, dxf;
    bool combo, sirelEdit, dxfEdit;
    bool step4;
    size_t messages;
  };
  const Case cases[] = {
      {"no offer, macros and dxf", false, true, true, false, true, true, false, 1},
      {"only dxf", false, false, true, false, false, true, false, 0},
      {"offer, macros only", true, true, false, true, false, false, true, 0},
  };
  for (const Case& c : cases) {
    if (c.offer) TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
    presenter.messages.clear();
    form.UserChecked(Control::Sirel_CheckBox, c.sirel);
    form.UserChecked(Control::DXF_CheckBox, c.dxf);
    form.DestinationPageAction();
    EXPECT_EQ(view.Visible(Control::drive_Combo), c.combo) << c.name;
    EXPECT_EQ(view.Visible(Control::zielSirel_Edit), c.sirelEdit) << c.name;
    EXPECT_EQ(view.Visible(Control::zielDXF_Edit), c.dxfEdit) << c.name;
    EXPECT_EQ(nav().List().Heights().GetEnabled(4), c.step4) << c.name;
    EXPECT_EQ(presenter.messages.size(), c.messages) << c.name;
    if (c.messages) {
      EXPECT_EQ(presenter.messages[0].text, "No drive") << c.name;
    }
    if (c.combo) {
      EXPECT_EQ(view.ItemIndex(Control::drive_Combo), 0) << c.name;
    }
    EXPECT_EQ(view.focus, Control::KelvaNavigate1) << c.name;
  }
}

TEST_F(MainFormTest, BrowsingFillsATargetOnlyWhenChosen) {
  ASSERT_TRUE(form.FormCreate());
  TVerzeichnisDlg chooser(faults, nullptr);
  ScriptedDlgView dlgView;
  chooser.SetView(&dlgView);
  form.SetDialog(&chooser);
  TempDrives::Write(drives.Host('E', "CAD/keep"), "");
  form.UserChecked(Control::DXF_CheckBox, true);
  form.DestinationPageAction();  // no offer: the Sirel field is browsed too
  EXPECT_FALSE(nav().List().Heights().GetEnabled(4));
  struct Case {
    const char* name;
    std::function<void()> press;
    void (TMainForm::*browse)();
    std::string sirel, dxf;
    bool step4;
  };
  const Case cases[] = {
      {"aborted", [&] { chooser.BtnAbortClick(); }, &TMainForm::BtnZielverzeichnisClick, "", "", false},
      {"closed", nullptr, &TMainForm::BtnZielverzeichnisClick, "", "", false},
      {"dxf chosen",
       [&] {
         chooser.List().SetDirectory("E:\\CAD");
         chooser.BtnOKClick();
       },
       &TMainForm::BtnZielverzeichnisClick, "", "E:\\CAD", false},
      {"sirel chosen",
       [&] {
         chooser.List().SetDirectory("E:\\");
         chooser.BtnOKClick();
       },
       &TMainForm::SirelZiel_ButtonClick, "E:", "E:\\CAD", true},  // a root loses its backslash
  };
  for (const Case& c : cases) {
    dlgView.press = c.press;
    (form.*c.browse)();
    EXPECT_EQ(view.Text(Control::zielSirel_Edit), c.sirel) << c.name;
    EXPECT_EQ(view.Text(Control::zielDXF_Edit), c.dxf) << c.name;
    EXPECT_EQ(nav().List().Heights().GetEnabled(4), c.step4) << c.name;
    EXPECT_TRUE(view.Visible(Control::SirelZiel_Button)) << c.name;
    EXPECT_TRUE(view.Visible(Control::DXFZiel_Button)) << c.name;
  }
  EXPECT_EQ(dlgView.caption, "Sirel target");
  // Both browses start from the parent of the DXF target.
  EXPECT_EQ(chooser.StartDir, "E:\\");
}

TEST_F(MainFormTest, CopyPageInstallsAndReportsSuccess) {
  ASSERT_TRUE(form.FormCreate());
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  TempDrives::Write(drives.Host('E', "CAD/keep"), "");
  form.UserChecked(Control::DXF_CheckBox, true);
  form.DestinationPageAction();
  Browse(&TMainForm::BtnZielverzeichnisClick, "E:\\CAD");
  form.CopyPageAction();
  EXPECT_EQ(view.currentStepAtPaint, 4);  // the copy's step is marked while it runs
  EXPECT_FALSE(form.InstallAborted());
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text, "Done");
  EXPECT_EQ(presenter.messages[0].caption, "Sirel Setup");
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(view.Enabled(), "");
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/MACROS/sub/b.mac")), "b");
  EXPECT_EQ(TempDrives::Read(drives.Host('E', "CAD/DRAWINGS/x.dxf")), "0\nEOF\n");
  EXPECT_EQ(faults.FileAttributes("C:\\SIREL\\README.TXT"), 0x20u);
  EXPECT_EQ(form.Meter().Percent(), 100);
  EXPECT_EQ(view.Text(Control::LabelFile), "x.dxf");
  EXPECT_FALSE(view.busy);
}

TEST_F(MainFormTest, FailedCopyGivesTwoMessagesAndUndoesTheRun) {
  ASSERT_TRUE(form.FormCreate());
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  faults.Add({platform::FaultOp::kCopy, "b.mac"});
  form.DestinationPageAction();
  form.CopyPageAction();
  EXPECT_TRUE(form.InstallAborted());
  ASSERT_EQ(presenter.messages.size(), 2u);
  EXPECT_EQ(presenter.messages[0].text.substr(0, presenter.messages[0].text.find('\n')), "Copy failed");
  EXPECT_EQ(presenter.messages[1].text, "Sirel cancelled (Sirel)");
  // The files copied before the failure are removed again; the user's stay.
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL/MACROS")));
  EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL")), std::vector<std::string>{"keep"});
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(form.ExitCode(), kExitCopyFailed);
}

TEST_F(MainFormTest, CloseRequestDuringTheCopyStopsAfterTheCurrentFile) {
  ASSERT_TRUE(form.FormCreate());
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  form.DestinationPageAction();
  int files = 0;
  loop.onMessages = [&] {
    if (form.Copying() && ++files == 2) {
      EXPECT_FALSE(form.FormCloseQuery());
    }
  };
  form.CopyPageAction();
  EXPECT_TRUE(form.InstallAborted());
  ASSERT_EQ(presenter.messages.size(), 1u);  // the abort message only
  EXPECT_EQ(presenter.messages[0].text, "Sirel cancelled (Sirel)");
  EXPECT_TRUE(form.FormCloseQuery());
}

TEST_F(MainFormTest, CancelResizeAndHint) {
  ASSERT_TRUE(form.FormCreate());
  struct Case {
    int w, h;
    graphics::Rect panel;
    int bannerWidth;
  };
  const Case cases[] = {{1024, 700, graphics::RectAt(272, 150, 480, 400), 837},
                        {584, 441, graphics::RectAt(52, 20, 480, 400), 397},
                        {481, 401, graphics::RectAt(0, 0, 480, 400), 294}};
  for (const Case& c : cases) {
    view.clientWidth = c.w;
    view.clientHeight = c.h;
    form.FormResize();
    EXPECT_EQ(view.Bounds(Control::Panel_Gesamt), c.panel) << c.w;
    EXPECT_EQ(view.Bounds(Control::KCLabel_1).width(), c.bannerWidth) << c.w;
  }
  EXPECT_EQ(TMainForm::AppShowHint(100, 200).x, 110);
  EXPECT_EQ(TMainForm::AppShowHint(100, 200).y, 218);
  form.Btn_CancelClick();
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text, "Sirel cancelled (Sirel)");
  EXPECT_EQ(presenter.messages[0].flags, 64);
  EXPECT_TRUE(view.closed);
}

TEST_F(MainFormTest, MissingLicenceFileKeepsThePageUsable) {
  std::remove(drives.Host('D', "LICENSE.TXT").c_str());
  ASSERT_TRUE(form.FormCreate());
  nav().SetItemIndex(1);
  EXPECT_EQ(view.page, 1);
  EXPECT_NE(view.Text(Control::eula_Memo).find("LICENSE.TXT"), std::string::npos);
  form.accept_ButtonClick();
  EXPECT_EQ(view.page, 2);
}

TEST_F(MainFormTest, TooLittleSpaceKeepsTheWizardOnTheTargetPage) {
  ASSERT_TRUE(form.FormCreate());
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  faults.SetFreeSpace(1000, 4096);
  for (int i = 0; i < 4; ++i) nav().SetItemEnabled(i, true);
  nav().SetItemIndex(3);
  ASSERT_EQ(nav().ItemIndex(), 3);
  nav().SetItemIndex(4);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_NE(presenter.messages[0].text.find("not enough free space on drive C:"), std::string::npos)
      << presenter.messages[0].text;
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(view.page, 3);
  EXPECT_EQ(nav().ItemIndex(), 3);
  EXPECT_EQ(form.ExitCode(), kExitSpace);  // should the window close now
  EXPECT_EQ(view.Enabled().substr(0, 4), "0123");
  EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL")), std::vector<std::string>{"keep"});
  // With room again, the same page goes on to a finished install.
  faults.SetFreeSpace(uint64_t{1} << 40, 4096);
  presenter.messages.clear();
  nav().SetItemIndex(4);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text, "Done");
  EXPECT_TRUE(view.closed);
}

TEST_F(MainFormTest, ReplacedFilesAreNamedInTheDoneMessage) {
  ASSERT_TRUE(form.FormCreate());
  TempDrives::Write(drives.Host('C', "SIREL/README.TXT"), "my notes");
  form.DestinationPageAction();
  form.CopyPageAction();
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text.rfind("Done\n\nThe files you had changed are kept in C:\\SIREL\\_backup\\", 0),
            0u)
      << presenter.messages[0].text;
  EXPECT_EQ(form.ExitCode(), kExitInstalled);
}

TEST_F(MainFormTest, StartUpUndoesAnInterruptedRunWithAMessage) {
  TempDrives::Write(drives.Host('C', "SIREL/README.TXT"), "my notes");
  EXPECT_EXIT(
      {
        faults.Add({platform::FaultOp::kCrash, "a.mac ->"});
        if (!form.FormCreate()) std::_Exit(1);
        form.DestinationPageAction();
        form.CopyPageAction();
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(platform::FaultPlatform::kCrashExitCode), "");
  EXPECT_NE(TempDrives::Read(drives.Host('C', "SIREL/README.TXT")), "my notes");  // set aside
  ASSERT_TRUE(form.FormCreate());
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_NE(presenter.messages[0].text.find("An interrupted installation into C:\\SIREL was found and undone"),
            std::string::npos)
      << presenter.messages[0].text;
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/README.TXT")), "my notes");
  EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL")), std::vector<std::string>{"README.TXT"});
}

TEST_F(MainFormTest, TheCommandLineAndThenTheLastInstallPreselect) {
  ASSERT_TRUE(form.FormCreate());
  Choices given;
  given.language = "deutsch";
  given.hasComponents = true;
  given.sample = given.dxf = true;
  given.sirel = "C:\\CAD";
  given.dxfTarget = "E:\\DWG";
  form.ApplyChoices(given);
  EXPECT_EQ(view.ItemIndex(Control::ComboBoxSprache), 1);
  EXPECT_EQ(form.Texts().ProductName, "Sirel DE");
  EXPECT_FALSE(view.Checked(Control::Sirel_CheckBox));
  EXPECT_TRUE(view.Checked(Control::Beispiel_CheckBox));
  EXPECT_TRUE(view.Checked(Control::DXF_CheckBox));
  EXPECT_EQ(view.Enabled(), "01");  // the licence still comes first
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  form.DestinationPageAction();
  ASSERT_FALSE(view.Items(Control::drive_Combo).empty());
  EXPECT_EQ(view.Items(Control::drive_Combo).front(), "C:\\CAD");
  EXPECT_EQ(view.Text(Control::zielDXF_Edit), "E:\\DWG");
  ASSERT_TRUE(form.CopyPageAction());
  EXPECT_EQ(form.ExitCode(), kExitInstalled);
  EXPECT_TRUE(TempDrives::Exists(drives.Host('E', "DWG/DRAWINGS/x.dxf")));

  // The next start of the same product, without a command line. (This
  // medium has no sample project: C:\CAD exists only as the user made it.)
  TempDrives::Write(drives.Host('C', "CAD/mine.txt"), "");
  FakeMainFormView next;
  TMainForm again{faults, loop, next, next.Navigate()};
  ASSERT_TRUE(again.FormCreate());
  again.ApplyChoices(Choices());
  EXPECT_EQ(next.ItemIndex(Control::ComboBoxSprache), 1);
  EXPECT_FALSE(next.Checked(Control::Sirel_CheckBox));
  EXPECT_TRUE(next.Checked(Control::DXF_CheckBox));
  again.DestinationPageAction();
  EXPECT_EQ(next.Items(Control::drive_Combo).front(), "C:\\CAD");
  EXPECT_EQ(next.Text(Control::zielDXF_Edit), "E:\\DWG");
}

TEST_F(MainFormTest, WithoutAnOfferTheDefaultButtonTakesTheDefaultFolder) {
  TempDrives::Write(drives.Host('D', "SETUP.INF"),
                    "[BootSetup]\nVersion=2.0\nDefaultPath=E:\\NEW\\SIREL\nDefaultDir=SIREL\n[Languages]\n1=English\n" +
                        Texts("English", "Txt_073=Sirel\n"));
  ASSERT_TRUE(form.FormCreate());
  TVerzeichnisDlg chooser(faults, nullptr);
  ScriptedDlgView dlgView;
  chooser.SetView(&dlgView);
  form.SetDialog(&chooser);
  form.DestinationPageAction();  // no drive holds SIREL: the no-drive message
  dlgView.press = [&] { chooser.BtnDefaultClick(); };
  form.SirelZiel_ButtonClick();
  EXPECT_TRUE(chooser.DefaultVisible);
  EXPECT_EQ(view.Text(Control::zielSirel_Edit), "E:\\NEW\\SIREL");
  EXPECT_TRUE(nav().List().Heights().GetEnabled(4));
  form.BtnZielverzeichnisClick();
  EXPECT_FALSE(chooser.DefaultVisible);  // not for the drawings
  ASSERT_TRUE(form.CopyPageAction());
  EXPECT_EQ(form.ExitCode(), kExitInstalled);
  EXPECT_EQ(TempDrives::Read(drives.Host('E', "NEW/SIREL/README.TXT")), "readme");
}

TEST_F(MainFormTest, TheWizardLogsItsCopyRun) {
  ASSERT_TRUE(form.FormCreate());
  InstallLog log(faults);
  ASSERT_TRUE(log.Open("C:\\wizard.log"));
  form.SetLog(&log);
  TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
  faults.Add({platform::FaultOp::kCopy, "b.mac ->"});
  form.DestinationPageAction();
  form.CopyPageAction();
  const std::string text = TempDrives::Read(drives.Host('C', "wizard.log"));
  for (const char* event :
       {"\tinfo\tlanguage\tEnglish\n", "\tinfo\tcomponents\tmacros \n", "\tinfo\tplan\t3\t",
        "\tinfo\tcopied\tD:\\README.TXT\tC:\\SIREL\\README.TXT\t6\n",
        "\terror\tfailed\tD:\\macros\\sub\\b.mac\tC:\\SIREL\\MACROS\\sub\\b.mac\t5\tPermission denied\n",
        "\tinfo\trollback\tremoved C:\\SIREL\\README.TXT\n"}) {
    EXPECT_NE(text.find(event), std::string::npos) << event << " in\n" << text;
  }
}

}  // namespace

// Tab goes through the pages' stops, then the side-bar (the containers' own
// orders place their children; the focus holder takes no part).
TEST(MainFormLayoutTest, TabChainIsDepthFirstInTheTablesOrder) {
  using C = Control;
  const std::vector<Control> expected = {
      C::ComboBoxSprache,   C::Btn_Cancel,     C::eula_Memo,     C::accept_Button, C::Sirel_CheckBox,
      C::Beispiel_CheckBox, C::DXF_CheckBox,   C::zielDXF_Edit,  C::drive_Combo,   C::zielSirel_Edit,
      C::SirelZiel_Button,  C::DXFZiel_Button, C::KelvaNavigate1};
  EXPECT_EQ(TabChain(), expected);
}
