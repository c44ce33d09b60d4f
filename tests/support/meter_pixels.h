#pragma once

#include <vector>

#include "graphics/canvas.h"

// What a skin must show of the copy page's meter at 50 % (ten of twenty
// segments, the split at x = 153): the sunken edge with its background gap,
// the segments, and the text white left of the split, navy right of it.
struct MeterPixel {
  const char* what;
  int x;
  int y;
  graphics::Color colour;
};

inline std::vector<MeterPixel> HalfFullMeterPixels(int width, int height) {
  const graphics::Color light{212, 208, 200};
  return {
      {"outer edge, top left", 0, 0, graphics::kGray},
      {"inner edge, top left", 1, 1, {64, 64, 64}},
      {"background gap", 2, 2, graphics::kWhite},
      {"outer edge, bottom right", width - 1, height - 1, graphics::kWhite},
      {"inner edge, bottom right", width - 2, height - 2, light},
      {"inner edge, bottom", 5, height - 2, light},
      {"gap, bottom right", width - 3, height - 3, graphics::kWhite},
      {"a filled segment", 3 + 4, 3, {0, 0, 128}},
      {"an empty one", 3 + 290, 3, graphics::kWhite},
  };
}

// Ink of the text near the split: light pixels on the navy left of it and
// navy ones on the white right of it; both must be there.
struct SplitInk {
  int whiteLeft = 0;
  int navyRight = 0;
};

template <typename PixelAt>
SplitInk MeterSplitInk(PixelAt at) {
  SplitInk ink;
  for (int y = 3; y < 18; ++y) {
    for (int x = 120; x < 153; ++x) ink.whiteLeft += at(x, y).r > 200;
    for (int x = 153; x < 190; ++x) {
      const graphics::Color c = at(x, y);
      ink.navyRight += c.b > 100 && c.r < 100;
    }
  }
  return ink;
}
