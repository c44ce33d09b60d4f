// The GDI canvas on a memory bitmap: fills, the polyline's excluded end
// point, text on the brush colour, the single-line measure, text in a
// rectangle and the clip; the same at 150 % and 200 %.
#include "gui/win32/gdicanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class GdiCanvasTest : public ::testing::Test {
 protected:
  GdiCanvasTest() {
    screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 200, 60);
    saved = SelectObject(dc, bitmap);
    font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  }
  ~GdiCanvasTest() override {
    SelectObject(dc, saved);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  COLORREF At(int x, int y) { return GetPixel(dc, x, y); }

  HDC screen;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ saved;
  HFONT font;
};

TEST_F(GdiCanvasTest, FillsAndLinesLeaveOutTheirLastPixel) {
  GdiCanvas canvas(dc, font);
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, 200, 60});
  canvas.SetBrushColor({0, 0, 128});
  canvas.FillRect({10, 10, 20, 20});
  EXPECT_EQ(At(10, 10), RGB(0, 0, 128));
  EXPECT_EQ(At(19, 19), RGB(0, 0, 128));
  EXPECT_EQ(At(20, 20), RGB(255, 255, 255));
  canvas.SetPenColor(graphics::kBlack);
  canvas.Polyline({{39, 1}, {35, 1}, {35, 30}, {39, 30}});
  EXPECT_EQ(At(39, 1), RGB(0, 0, 0));
  EXPECT_EQ(At(35, 15), RGB(0, 0, 0));
  EXPECT_EQ(At(38, 30), RGB(0, 0, 0));
  EXPECT_EQ(At(39, 30), RGB(255, 255, 255));
}

TEST_F(GdiCanvasTest, TextAndMeasure) {
  GdiCanvas canvas(dc, font);
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, 200, 60});
  canvas.SetFontColor(graphics::kBlack);
  canvas.TextOut(5, 5, "Step");
  int dark = 0;
  for (int y = 5; y < 20; ++y) {
    for (int x = 5; x < 40; ++x) dark += GetRValue(At(x, y)) < 128;
  }
  EXPECT_GT(dark, 10);
  const int plain = canvas.TextWidth("Setup");
  EXPECT_GT(plain, 0);
  EXPECT_EQ(canvas.TextWidth("Set&up"), plain);  // the mnemonic marker is not measured
  EXPECT_GT(canvas.TextWidth(""), 0);            // measured as one blank
  canvas.SetFontBold(true);
  EXPECT_EQ(canvas.TextWidth("Setup"), plain);  // measured in the normal font
}

TEST_F(GdiCanvasTest, ClipAndTextInARectangle) {
  GdiCanvas canvas(dc, font);
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, 200, 60});
  canvas.SetClip({10, 10, 20, 20});
  canvas.SetBrushColor(graphics::kBlack);
  canvas.FillRect({0, 0, 200, 60});
  EXPECT_EQ(At(10, 10), RGB(0, 0, 0)) << "inside the clip";
  EXPECT_EQ(At(20, 15), RGB(255, 255, 255)) << "right of the clip";
  EXPECT_EQ(At(15, 9), RGB(255, 255, 255)) << "above the clip";
  canvas.ClearClip();
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, 200, 60});
  EXPECT_EQ(At(10, 10), RGB(255, 255, 255)) << "cleared clip";

  // Centred: as much ink left of the middle as right of it, none outside.
  struct Case {
    const char* name;
    graphics::Align align;
  };
  for (const Case& c : {Case{"centred", graphics::Align::kCenter}, Case{"left", graphics::Align::kLeft}}) {
    canvas.FillRect({0, 0, 200, 60});
    canvas.SetFontColor(graphics::kBlack);
    canvas.TextRect({20, 20, 180, 40}, "88%", c.align);
    int left = 0, right = 0, outside = 0, top = 60, bottom = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (GetRValue(At(x, y)) >= 128) continue;
        (y < 20 || y >= 40 ? outside : x < 100 ? left : right) += 1;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    EXPECT_EQ(outside, 0) << c.name;
    EXPECT_GT(top - 20, 1) << c.name << ": vertically centred";
    EXPECT_LT(std::abs((top - 20) - (39 - bottom)), 4) << c.name << ": vertically centred";
    if (c.align == graphics::Align::kCenter) {
      EXPECT_LT(std::abs(left - right), (left + right) / 3) << c.name;
    } else {
      EXPECT_EQ(right, 0) << c.name;
    }
  }
}

// Scaled, a unit is 1.5 or 2 pixels: fills and lines cover the pixels of
// their units, lines side by side leave no gap, and the measure is in units.
TEST_F(GdiCanvasTest, UnitsBecomePixelsAtTheScreensScale) {
  for (const int dpi : {144, 192}) {
    SCOPED_TRACE(dpi);
    const win32skin::Dpi scale(dpi);
    GdiCanvas plain(dc, font);
    const int unscaled = plain.TextWidth("Installation");
    HFONT big = CreateFontA(-scale.Px(11), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    {
      GdiCanvas canvas(dc, big, scale);
      canvas.SetBrushColor(graphics::kWhite);
      canvas.FillRect({0, 0, 120, 40});
      canvas.SetBrushColor({0, 0, 128});
      canvas.FillRect({2, 2, 6, 6});
      EXPECT_EQ(At(scale.Px(2), scale.Px(2)), RGB(0, 0, 128));
      EXPECT_EQ(At(scale.Px(6) - 1, scale.Px(6) - 1), RGB(0, 0, 128));
      EXPECT_EQ(At(scale.Px(6), scale.Px(6)), RGB(255, 255, 255));
      // A frame of three lines, as the meter draws its edge.
      canvas.SetPenColor(graphics::kBlack);
      for (int i = 0; i < 3; ++i) canvas.Polyline({{20, 10 + i}, {60, 10 + i}});
      for (int y = scale.Px(10); y < scale.Px(13); ++y) EXPECT_EQ(At(scale.Px(30), y), RGB(0, 0, 0)) << "row " << y;
      EXPECT_EQ(At(scale.Px(30), scale.Px(13)), RGB(255, 255, 255));
      EXPECT_EQ(At(scale.Px(60), scale.Px(10)), RGB(255, 255, 255)) << "the end point is left out";
      EXPECT_NEAR(canvas.TextWidth("Installation"), unscaled, 3);
    }
    DeleteObject(big);
  }
}

}  // namespace
