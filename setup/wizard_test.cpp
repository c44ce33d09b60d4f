#include "setup/wizard.h"

#include <gtest/gtest.h>

#include "navigate/navigate.h"
#include "setup/installlog.h"
#include "tests/support/fake_mainform_view.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/scripted_dlg_view.h"
#include "tests/support/temp_medium.h"

namespace {

// A loop that counts its passes and can be told the program is ending.
class CountingLoop : public EventLoop {
 public:
  void ProcessMessages() override { ++passes; }
  bool Terminating() override { return ending; }
  void Synchronize(const std::function<void()>& call) override { call(); }
  int passes = 0;
  bool ending = false;
};

TEST(WizardLoopTest, PassesAtMostOnceAnIntervalAndEndsOnAClose) {
  struct Case {
    const char* name;
    std::vector<int64_t> times;  // the clock at each ProcessMessages call
    int passes;
  };
  const Case cases[] = {
      {"the first call passes", {1000}, 1},
      {"calls within the interval wait", {1000, 1001, 1015}, 1},
      {"a call at the interval passes", {1000, 1016, 1017, 1032}, 3},
      {"a clock that starts at zero", {0, 5, 16}, 2},
  };
  for (const Case& c : cases) {
    CountingLoop skin;
    int64_t now = 0;
    WizardLoop loop(skin, nullptr, [&] { return now; });
    for (int64_t t : c.times) {
      now = t;
      loop.ProcessMessages();
    }
    EXPECT_EQ(skin.passes, c.passes) << c.name;
  }
  CountingLoop skin;
  bool closeRequested = false;
  WizardLoop loop(skin, [&] { return closeRequested; });
  EXPECT_FALSE(loop.Terminating());
  closeRequested = true;
  EXPECT_TRUE(loop.Terminating());
  closeRequested = false;
  skin.ending = true;
  EXPECT_TRUE(loop.Terminating());
}

// A skin without widgets: the fake main window, a scripted chooser.
class FakeSkin : public WizardSkin {
 public:
  EventLoop& Loop() override { return loop; }
  MainFormView& MainView() override { return view; }
  VerzeichnisDlgView& ChooserView() override { return chooser; }
  NavigateHost& SideBarHost() override { return view.SideBarHost(); }
  void ShowSideBar(TKelvaNavigate* model) override {
    shown.push_back(model);
    if (!model) return;
    model->SetBounds(TKelvaNavigate::kWidth, 400);
    model->Loaded();
  }
  void Attach(Wizard* w) override { attached.push_back(w); }

  CountingLoop loop;
  FakeMainFormView view;
  ScriptedDlgView chooser;
  std::vector<Wizard*> attached;
  std::vector<TKelvaNavigate*> shown;
};

class WizardTest : public ::testing::Test {
 protected:
  WizardTest() {
    TempDrives::Write(drives.Host('D', "SETUP.INF"),
                      "[BootSetup]\nDefaultDir=SIREL\n[Languages]\n1=English\n[English]\n"
                      "Txt_001=LICENSE.TXT\nTxt_023=DXF target\nTxt_031=Done\nTxt_063=Language\n"
                      "Txt_064=Licence\nTxt_065=Selection\nTxt_066=Targets\nTxt_067=Copy\n"
                      "Txt_600=macros\\;MACROS\nTxt_800=dxf\\;DRAWINGS\n");
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
    TempDrives::Write(drives.Host('D', "macros/a.mac"), "a");
    TempDrives::Write(drives.Host('D', "dxf/x.dxf"), "x");
    TempDrives::Write(drives.Host('C', "SIREL/keep"), "");
    TempDrives::Write(drives.Host('E', "CAD/keep"), "");
  }
  void Key(Wizard& wizard, int key) {
    int k = key;
    wizard.Form().FormKeyDown(k);
  }

  TempDrives drives{"CDE"};
  RecordingPresenter presenter;
  FakeSkin skin;
};

TEST_F(WizardTest, AssembledWithAFakeSkinItInstallsFromTheFirstPageToTheEnd) {
  InstallLog log(drives.platform());
  int code = -1;
  {
    Wizard wizard(drives.platform(), skin);
    EXPECT_TRUE(skin.attached.empty());  // nothing reaches the controllers before start-up
    CommandLine options;
    ASSERT_TRUE(wizard.Start(options, &log));
    ASSERT_EQ(skin.attached, std::vector<Wizard*>{&wizard});
    EXPECT_TRUE(wizard.Started());
    EXPECT_EQ(skin.shown, std::vector<TKelvaNavigate*>{&wizard.SideBar()});
    EXPECT_FALSE(wizard.SideBar().SelectLinear());

    Key(wizard, VK_RETURN);
    EXPECT_EQ(skin.view.page, 1);
    EXPECT_EQ(skin.view.Text(Control::eula_Memo), "licence");
    wizard.Form().accept_ButtonClick();
    EXPECT_EQ(skin.view.page, 2);
    wizard.Form().UserChecked(Control::DXF_CheckBox, true);
    Key(wizard, VK_RETURN);
    EXPECT_EQ(skin.view.page, 3);
    EXPECT_EQ(skin.view.Items(Control::drive_Combo), std::vector<std::string>{"C:\\SIREL"});
    // The user picks the DXF target in the chooser the wizard made.
    skin.chooser.press = [&] {
      wizard.Chooser().List().SetDirectory("E:\\CAD");
      wizard.Chooser().BtnOKClick();
    };
    wizard.Form().BtnZielverzeichnisClick();
    EXPECT_EQ(skin.chooser.caption, "DXF target");
    EXPECT_EQ(skin.view.Text(Control::zielDXF_Edit), "E:\\CAD");
    Key(wizard, VK_RETURN);
    EXPECT_EQ(skin.view.page, 4);
    EXPECT_TRUE(skin.view.closed);
    EXPECT_GT(skin.loop.passes, 0);  // the copy let the window breathe
    code = wizard.Finish(0, &log);
  }
  EXPECT_EQ(skin.attached.back(), nullptr);  // the skin was let go
  ASSERT_EQ(skin.shown.size(), 2u);          // the wizard's side-bar, shown until the end
  EXPECT_NE(skin.shown[0], nullptr);
  EXPECT_EQ(skin.shown[1], nullptr);
  EXPECT_EQ(code, kExitInstalled);
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].text, "Done");
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/MACROS/a.mac")), "a");
  EXPECT_EQ(TempDrives::Read(drives.Host('E', "CAD/DRAWINGS/x.dxf")), "x");
}

// With SETUP.SUM on the medium: a file damaged after it was listed fails its
// copy with the copy-failure message, and the targets stay exactly as they
// were; a damaged SETUP.INF ends start-up as a missing one does.
TEST_F(WizardTest, WithAChecksumListADamagedFileFailsTheCopyAndADamagedSetupFileTheStart) {
  TempDrives::Write(drives.Host('C', "SIREL/MACROS/a.mac"), "old a");
  drives.WriteChecksums('D', {"SETUP.INF", "LICENSE.TXT", "macros/a.mac", "dxf/x.dxf"});
  TempDrives::Write(drives.Host('D', "macros/a.mac"), "A");
  const std::vector<std::string> before = drives.Snapshot('C', ".");
  {
    Wizard wizard(drives.platform(), skin);
    ASSERT_TRUE(wizard.Start(CommandLine{}, nullptr));
    Key(wizard, VK_RETURN);
    wizard.Form().accept_ButtonClick();
    Key(wizard, VK_RETURN);
    Key(wizard, VK_RETURN);
    EXPECT_EQ(skin.view.page, 4);
    EXPECT_EQ(wizard.Finish(0, nullptr), kExitCopyFailed);
  }
  ASSERT_EQ(presenter.messages.size(), 2u);  // the failure, then the abort
  EXPECT_NE(presenter.messages[0].text.find("D:\\macros\\a.mac\nC:\\SIREL\\MACROS\\a.mac\n"
                                            "the file is damaged on the medium"),
            std::string::npos)
      << presenter.messages[0].text;
  EXPECT_EQ(drives.Snapshot('C', "."), before);

  presenter.messages.clear();
  TempDrives::Write(drives.Host('D', "SETUP.INF"), TempDrives::Read(drives.Host('D', "SETUP.INF")) + "\n");
  FakeSkin fresh;
  Wizard wizard(drives.platform(), fresh);
  EXPECT_FALSE(wizard.Start(CommandLine{}, nullptr));
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_EQ(presenter.messages[0].caption, "Error");
  EXPECT_EQ(presenter.messages[0].text, "File SETUP.INF is damaged (it does not match SETUP.SUM)");
  EXPECT_EQ(presenter.messages[0].flags, MB_OK);
}

TEST_F(WizardTest, EndsAtStartUpWithoutSetupFileOrWhenClosedBeforeAnInstall) {
  struct Case {
    const char* name;
    bool setupFile;
    int loopResult;
    bool started;
    int code;
  };
  const Case cases[] = {
      {"no SETUP.INF", false, 0, false, kExitSetupInf},
      {"closed on the first page", true, 0, true, kExitAbandoned},
      {"the loop's own exit code", true, 9, true, 9},
  };
  for (const Case& c : cases) {
    if (!c.setupFile) std::remove(drives.Host('D', "SETUP.INF").c_str());
    FakeSkin fresh;
    Wizard wizard(drives.platform(), fresh);
    EXPECT_EQ(wizard.Start(CommandLine{}, nullptr), c.started) << c.name;
    EXPECT_EQ(fresh.attached.size(), c.started ? 1u : 0u) << c.name;
    if (c.started) {
      EXPECT_EQ(wizard.Finish(c.loopResult, nullptr), c.code) << c.name;
    }
    if (!c.setupFile) {
      TempDrives::Write(drives.Host('D', "SETUP.INF"), "[Languages]\n1=English\n[English]\nTxt_063=x\n");
    }
  }
}

}  // namespace
