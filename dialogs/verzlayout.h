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
// The height of a row of the directory list and of the drive box.
constexpr int kDlgItemHeight = 16;
// The path label's widest text; a longer path is shortened in the middle.
constexpr int kDlgPathWidth = 257;
// The sunken frame around the path label, the list and the drive box.
constexpr graphics::Rect kDlgBevel{4, 6, 4 + 277, 6 + 205};

// Where a chooser button's glyph and caption go, in the button's own
// coordinates. OK has its glyph 2 pixels from the left edge and the caption
// centred in the rest; the other buttons centre glyph, a 4-pixel gap and the
// caption together. Both are centred vertically.
struct GlyphPlacement {
  graphics::Rect glyph;
  graphics::Rect caption;
};
GlyphPlacement PlaceGlyph(DlgControl button, int width, int height, int captionWidth);

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
