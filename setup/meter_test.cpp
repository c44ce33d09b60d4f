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

TEST(MeterTest, PaintsFrameBarAndSplitText) {
  // The frame is the same for every value: 306 x 21 as the copy page has it.
  const std::vector<std::string> frame = {
      "fill 0,0-306,21 #ffffff",         "line 0,19 0,0 305,0 #808080",    "line 1,18 1,1 304,1 #404040",
      "line 0,20 305,20 305,-1 #ffffff", "line 1,19 304,19 304,0 #d4d0c8",
  };
  struct Case {
    const char* name;
    int files;
    int done;
    std::string lastSegment;  // empty: none filled
    int segments;
    std::string text;
    int split;  // x of the split point in the client area
  };
  const Case cases[] = {
      {"nothing copied", 4, 0, "", 0, "0%", 3},
      {"one of eight", 8, 1, "fill 18,3-33,18 #000080", 2, "12%", 39},
      {"half", 4, 2, "fill 138,3-153,18 #000080", 10, "50%", 153},
      {"all", 3, 3, "fill 288,3-303,18 #000080", 20, "100%", 303},
  };
  for (const Case& c : cases) {
    TKCProgress meter;
    meter.SetMaxValue(c.files);
    meter.SetUserValue(c.done);
    RecordingCanvas canvas;
    meter.Paint(canvas, 306, 21);
    const std::vector<std::string>& calls = canvas.calls;
    ASSERT_EQ(calls.size(), frame.size() + static_cast<size_t>(c.segments) + 5) << c.name;
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5), frame) << c.name;
    if (c.segments > 0) {
      EXPECT_EQ(calls[5], "fill 3,3-18,18 #000080") << c.name;
      EXPECT_EQ(calls[4 + static_cast<size_t>(c.segments)], c.lastSegment) << c.name;
    }
    const std::string split = std::to_string(c.split);
    const std::vector<std::string> text(calls.end() - 5, calls.end());
    EXPECT_EQ(text, (std::vector<std::string>{
                        "clip 3,3-" + split + ",18", "textrect 3,3-303,18 center #ffffff: " + c.text,
                        "clip " + split + ",3-303,18", "textrect 3,3-303,18 center #000080: " + c.text, "noclip"}))
        << c.name;
  }
  EXPECT_EQ(RoundHalfEven(25, 2), 12);
  EXPECT_EQ(RoundHalfEven(35, 2), 18);
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
}

}  // namespace
