#pragma once

#include <vector>

#include "dialogs/verzdlg.h"
#include "graphics/canvas.h"

// How a skin builds the directory chooser: client area 285 x 259, fixed,
// centred on the screen, button-face background, one bold 11-pixel font.
struct DlgControlLayout {
  DlgControl control;
  graphics::Rect bounds;
  bool autoSize;
  int tabOrder;  // -1: no focus
  bool visible;
  int modalResult;  // 0: none
};

constexpr int kDlgClientWidth = 285;
constexpr int kDlgClientHeight = 259;
constexpr int kDlgFontPixels = 11;
constexpr int kDlgGlyphSize = 20;
// The sunken frame around the path label, the list and the drive box.
constexpr graphics::Rect kDlgBevel{4, 6, 4 + 277, 6 + 205};

inline const std::vector<DlgControlLayout>& VerzeichnisDlgLayout() {
  static const std::vector<DlgControlLayout> kLayout = {
      {DlgControl::BtnOK, graphics::RectAt(149, 222, 88, 27), false, 0, true, 1},
      {DlgControl::LblPath, graphics::RectAt(16, 16, 0, 0), true, -1, true, 0},
      {DlgControl::DirectoryListBox1, graphics::RectAt(16, 36, 257, 140), false, 1, true, 0},
      {DlgControl::DriveComboBox1, graphics::RectAt(16, 184, 258, 19), false, 2, true, 0},
      {DlgControl::BtnAbort, graphics::RectAt(48, 222, 88, 27), false, 3, true, 3},
      {DlgControl::BtnDefault, graphics::RectAt(106, 238, 88, 27), false, 4, false, 0},
  };
  return kLayout;
}
