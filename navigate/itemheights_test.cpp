#include "navigate/itemheights.h"

#include <gtest/gtest.h>

#include "tests/support/recording_canvas.h"

namespace {

struct WrapCase {
  const char* name;
  std::string caption;
  bool multiLine;
  bool chinese;
  std::string text;  // wrapped, lines joined by "|"
  int lines;
};

std::string Shown(const std::string& text) {
  std::string s = text;
  for (char& c : s) {
    if (c == '\r') c = '|';
  }
  return s;
}

// With 6 pixels a character, a line of the 143-pixel side-bar holds 14.
TEST(WrapTextTest, FixedWidthMeasurer) {
  const std::string pairs(20, '\xB0');  // ten double-byte characters
  const WrapCase cases[] = {
      {"fits", "Language", true, false, "Language", 1},
      {"empty", "", true, false, "", 1},
      {"two lines at a blank", "Licence agreement", true, false, "Licence|agreement", 2},
      {"break before -", "Installations-verzeichnis", true, false, "Installations|-verzeichnis", 2},
      {"break before &", "Target folders&drives", true, false, "Target folders|&drives", 2},
      {"break before :", "Destination:Sirel", true, false, "Destination|:Sirel", 2},
      {"word wider than a line", "Zielverzeichnisauswahl", true, false, "Zielverzeichni|sauswahl", 2},
      {"three lines", "Choose the components to install", true, false, "Choose the|components to|install", 3},
      {"suffix when cut", "Licence agreement", false, false, "Licence ..", 1},
      {"fits only without suffix", "Language steps", false, false, "Language ..", 1},
      {"fits with suffix", "Language", false, false, "Language", 1},
      {"double bytes kept whole", pairs, true, true, pairs.substr(0, 14) + "|" + pairs.substr(14), 2},
      {"odd start keeps pairs", "a" + pairs, true, true, "a" + pairs.substr(0, 12) + "|" + pairs.substr(12), 2},
      {"longer than 80", std::string(90, 'x'), true, false,
       // Each inserted break pushes one more character past position 80.
       "xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxx", 6},
  };
  for (const WrapCase& c : cases) {
    RecordingCanvas canvas(6);
    TListHeights heights(143, &canvas);
    heights.SetMultiLine(c.multiLine);
    heights.SetChineseChars(c.chinese);
    heights.AddLine(c.caption);
    EXPECT_EQ(Shown(heights.GetText(0)), Shown(c.text)) << c.name;
    EXPECT_EQ(heights.GetLineCount(0), c.lines) << c.name;
    EXPECT_EQ(heights.GetItemHeight(0), c.lines * 15 + 7) << c.name;
  }
}

// A character wider than a line gets a break before it on every pass, which
// pushes the caption out until only breaks remain; the walk still ends.
TEST(WrapTextTest, CharacterWiderThanTheLineEnds) {
  RecordingCanvas canvas(100);
  TListHeights heights(143, &canvas);
  heights.AddLine("ab");
  EXPECT_EQ(heights.GetText(0), std::string(80, '\r'));
  EXPECT_EQ(heights.GetLineCount(0), 81);
}

TEST(ListHeightsTest, GeometryAndIndexAt) {
  RecordingCanvas canvas(6);
  TListHeights heights(143, &canvas);
  heights.AddLine("Language");
  heights.AddLine("Licence agreement");
  heights.AddLine("Copy");
  EXPECT_EQ(heights.ItemTop(1), 29);
  EXPECT_EQ(heights.ItemBottom(1), 65);
  EXPECT_EQ(heights.ItemTop(2), 73);
  EXPECT_EQ(heights.TotalHeight(), 102);
  EXPECT_EQ(heights.TextAreaWidth(), 97);
  struct Case {
    int x, y, index;
  };
  const Case cases[] = {{0, 0, 0},  {142, 21, 0}, {0, 22, -1},  {0, 28, -1},   {5, 29, 1},   {5, 65, 1}, {5, 66, -1},
                        {5, 94, 2}, {5, 95, -1},  {-1, 10, -1}, {143, 10, -1}, {5, 500, -1}, {5, -1, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(heights.IndexAt(c.x, c.y), c.index) << c.x << "," << c.y;
  }
  EXPECT_EQ(heights.GetText(7), "");
  EXPECT_EQ(heights.GetLineCount(-1), 1);
  EXPECT_EQ(heights.GetItemHeight(3), 0);
  EXPECT_FALSE(heights.GetEnabled(3));
  heights.SetEnabled(3, true);  // ignored
  heights.ClearItems();
  EXPECT_EQ(heights.IndexAt(0, 0), -1);
  EXPECT_EQ(heights.TotalHeight(), 0);
}

}  // namespace
