// The GDI canvas on a memory bitmap: fills, the polyline's excluded end
// point, text on the brush colour, and the single-line measure.
#include "gui/win32/gdicanvas.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(canvas.TextWidth("Setup"), plain);   // measured in the normal font
}

}  // namespace
