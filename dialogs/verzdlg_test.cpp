#include "dialogs/verzdlg.h"
#include "dialogs/verzlayout.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_dlg_view.h"
#include "tests/support/temp_medium.h"

namespace {

class ChooserTest : public ::testing::Test {
 protected:
  ChooserTest() {
    TempDrives::Write(drives.Host('C', "Data/keep"), "");
    TempDrives::Write(drives.Host('C', "Data/b/keep"), "");
    TempDrives::Write(drives.Host('C', "Data/A/keep"), "");
    drives.platform().ChangeDirectory("C:\\");
    dlg = std::make_unique<TVerzeichnisDlg>(drives.platform(), [this](const std::string& e) { errors.push_back(e); });
    dlg->SetView(&view);
  }
  TempDrives drives;
  ScriptedDlgView view;
  std::unique_ptr<TVerzeichnisDlg> dlg;
  std::vector<std::string> errors;
};

TEST_F(ChooserTest, NearestExistingDirectory) {
  struct Case {
    const char* path;
    const char* nearest;
  };
  const Case cases[] = {{"C:\\Data\\Sub\\Deep", "C:\\Data"},
                        {"C:\\Data\\Sub\\", "C:\\Data"},
                        {"C:\\Missing", "C:"},
                        {"C:\\Data", "C:\\Data"},
                        {"Q:\\x\\y", "Q:"},
                        {"nothing", ""}};
  for (const Case& c : cases) EXPECT_EQ(dlg->NearestExistingDir(c.path), c.nearest) << c.path;
}

TEST_F(ChooserTest, ResultsOfTheThreeWaysOut) {
  dlg->SelectedDir = "previous";
  dlg->StartDir = "C:\\Data\\Sub\\Deep";
  view.press = [&] { dlg->BtnOKClick(); };
  EXPECT_EQ(dlg->ShowModal(), 1);
  EXPECT_EQ(dlg->SelectedDir, "C:\\Data");
  // Abort after moving elsewhere: StartDir comes back.
  view.press = [&] {
    dlg->List().SetDirectory("C:\\Data\\b");
    dlg->BtnAbortClick();
  };
  EXPECT_EQ(dlg->ShowModal(), 3);
  EXPECT_EQ(dlg->SelectedDir, "C:\\Data\\Sub\\Deep");
  // The close box leaves SelectedDir alone.
  view.press = nullptr;
  EXPECT_EQ(dlg->ShowModal(), 2);
  EXPECT_EQ(dlg->SelectedDir, "C:\\Data\\Sub\\Deep");
  // A preset that does not exist is taken at once.
  dlg->PresetDir = "C:\\NEW";
  view.press = [&] { dlg->BtnDefaultClick(); };
  EXPECT_EQ(dlg->ShowModal(), 1);
  EXPECT_EQ(dlg->SelectedDir, "C:\\NEW");
  // One that exists moves the list and keeps the dialog open.
  dlg->PresetDir = "C:\\Data\\b";
  view.press = [&] {
    dlg->BtnDefaultClick();
    EXPECT_EQ(view.result, 2);
    dlg->BtnOKClick();
  };
  EXPECT_EQ(dlg->ShowModal(), 1);
  EXPECT_EQ(dlg->SelectedDir, "C:\\Data\\b");
}

TEST_F(ChooserTest, ListEntriesAndSelectionEntersAtOnce) {
  DirectoryListModel& list = dlg->List();
  EXPECT_EQ(list.Directory(), "C:\\");
  ASSERT_TRUE(list.SetDirectory("C:\\DATA"));
  std::vector<std::string> names;
  for (const auto& e : list.Entries()) names.push_back(std::to_string(e.depth) + e.name);
  // The directory is named as it was entered; its subdirectories as on disk.
  EXPECT_EQ(names, (std::vector<std::string>{"0C:\\", "1DATA", "2A", "2b"}));
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(list.Entries()[1].kind, DirectoryListModel::Kind::kCurrent);
  list.Select(3);  // a click or an arrow key enters the directory
  EXPECT_EQ(list.Directory(), "C:\\DATA\\b");
  list.Select(0);
  EXPECT_EQ(list.Directory(), "C:\\");
  EXPECT_EQ(list.SelectedIndex(), 0);
  // An empty start opens where the list was left.
  dlg->StartDir = "";
  view.press = [&] { dlg->BtnOKClick(); };
  EXPECT_EQ(dlg->ShowModal(), 1);
  EXPECT_EQ(dlg->SelectedDir, "C:\\");
  // A drive that does not exist reports an error and stays.
  dlg->DriveComboBox1Change('Q');
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(list.Directory(), "C:\\");
  EXPECT_EQ(ShortenPath("C:\\one\\two\\three\\four", 14 * 6,
                        [](const std::string& s) { return static_cast<int>(s.size()) * 6; }),
            "C:\\...\\four");
}

}  // namespace

TEST(GlyphPlacementTest, OkHasItsGlyphAtTheLeftTheOthersCentreBoth) {
  struct Case {
    const char* name;
    DlgControl button;
    int captionWidth;
    graphics::Rect glyph, caption;
  };
  // Buttons of 88 x 27: the glyph is 20 x 20, one pixel lower than centred
  // when the rest is odd.
  const Case cases[] = {
      {"OK", DlgControl::BtnOK, 16, graphics::RectAt(2, 3, 20, 20), graphics::RectAt(47, 0, 16, 27)},
      {"OK with a caption as wide as the rest", DlgControl::BtnOK, 66, graphics::RectAt(2, 3, 20, 20),
       graphics::RectAt(22, 0, 66, 27)},
      {"cancel", DlgControl::BtnAbort, 40, graphics::RectAt(12, 3, 20, 20), graphics::RectAt(36, 0, 40, 27)},
      {"default", DlgControl::BtnDefault, 0, graphics::RectAt(32, 3, 20, 20), graphics::RectAt(56, 0, 0, 27)},
  };
  for (const Case& c : cases) {
    const GlyphPlacement p = PlaceGlyph(c.button, 88, 27, c.captionWidth);
    EXPECT_TRUE(p.glyph == c.glyph) << c.name << ": glyph at " << p.glyph.left << "," << p.glyph.top;
    EXPECT_TRUE(p.caption == c.caption) << c.name << ": caption at " << p.caption.left << " width "
                                        << p.caption.width();
  }
}
