#include "setup/meter.h"

#include <gtest/gtest.h>

#include "tests/support/recording_canvas.h"

namespace {

TEST(MeterTest, PercentSegmentsAndSplitPerFile) {
  struct Case {
    int files;
    std::vector<int> percents;
    std::vector<int> segments;
  };
  const Case cases[] = {
      {8, {12, 25, 38, 50, 62, 75, 88, 100}, {2, 5, 8, 10, 12, 15, 18, 20}},
      {3, {33, 67, 100}, {7, 13, 20}},
      {1, {100}, {20}},
  };
  for (const Case& c : cases) {
    TKCProgress meter;
    meter.SetMaxValue(c.files);
    for (int i = 0; i < c.files; ++i) {
      EXPECT_TRUE(meter.SetUserValue(i + 1)) << c.files << " files, file " << i;
      EXPECT_EQ(meter.Percent(), c.percents[static_cast<size_t>(i)]) << c.files << " files, file " << i;
      EXPECT_EQ(meter.FilledSegments(), c.segments[static_cast<size_t>(i)]) << c.files << " files, file " << i;
      EXPECT_EQ(meter.SplitX(), 3 * meter.Percent()) << c.files;
    }
  }
  TKCProgress eight;
  eight.SetMaxValue(8);
  eight.SetUserValue(1);
  EXPECT_EQ(eight.SplitX(), 36);
  EXPECT_EQ(eight.Text(), "12%");
}

TEST(MeterTest, RedrawsOnlyWhenThePercentageChanges) {
  TKCProgress meter;
  meter.SetMaxValue(1000);
  EXPECT_TRUE(meter.SetUserValue(1));   // 0%: always drawn
  EXPECT_TRUE(meter.SetUserValue(5));   // 0.5% rounds to 0 (half to even)
  EXPECT_TRUE(meter.SetUserValue(6));   // 1%
  EXPECT_FALSE(meter.SetUserValue(7));  // still 1%
  // An empty plan: a maximum equal to the minimum is ignored.
  TKCProgress empty;
  empty.SetMaxValue(0);
  EXPECT_EQ(empty.MaxValue(), 100);
  EXPECT_EQ(empty.Percent(), 0);
  EXPECT_EQ(empty.FilledSegments(), 0);
}

TEST(MeterTest, PaintsWhiteThenNavySegments) {
  TKCProgress meter;
  meter.SetMaxValue(3);
  meter.SetUserValue(1);
  RecordingCanvas canvas;
  meter.PaintBar(canvas);
  ASSERT_EQ(canvas.calls.size(), 8u);
  EXPECT_EQ(canvas.calls[0], "fill 0,0-300,15 #ffffff");
  EXPECT_EQ(canvas.calls[1], "fill 0,0-15,15 #000080");
  EXPECT_EQ(canvas.calls[7], "fill 90,0-105,15 #000080");
  EXPECT_EQ(RoundHalfEven(25, 2), 12);
  EXPECT_EQ(RoundHalfEven(35, 2), 18);
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
}

}  // namespace
