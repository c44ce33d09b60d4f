#include "graphics/pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kClear = 0;

// Each pixel of a scaled picture is the average of what it covers: a
// single-colour picture stays that colour, an edge between two colours
// blends, and a transparent pixel stays transparent (alpha premultiplied).
TEST(PixelsTest, ScalingAveragesWhatEachPixelCovers) {
  struct Case {
    const char* name;
    std::vector<uint32_t> pixels;
    int width, height, newWidth, newHeight;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {"one colour, 150 %", {kRed, kRed, kRed, kRed}, 2, 2, 3, 3, std::vector<uint32_t>(9, kRed)},
      {"an edge, 150 %", {kRed, kBlue}, 2, 1, 3, 1, {kRed, 0xFF800080, kBlue}},
      {"doubled", {kRed, kBlue}, 2, 1, 4, 1, {kRed, kRed, kBlue, kBlue}},
      {"transparent beside opaque", {kClear, kRed}, 2, 1, 3, 1, {kClear, 0x80800000, kRed}},
      {"halved", {kRed, kBlue, kRed, kBlue}, 4, 1, 2, 1, {0xFF800080, 0xFF800080}},
      {"150 % down a column", {kRed, kBlue}, 1, 2, 1, 3, {kRed, 0xFF800080, kBlue}},
      {"no size", {kRed}, 1, 1, 0, 1, {}},
      {"fewer pixels than the size says", {kRed}, 2, 2, 3, 3, {}},
  };
  for (const Case& c : cases) {
    const std::vector<uint32_t> scaled = graphics::ScalePixels(c.pixels, c.width, c.height, c.newWidth, c.newHeight);
    ASSERT_EQ(scaled.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < scaled.size(); ++i) {
      for (int shift = 0; shift < 32; shift += 8) {  // each channel to within one step of rounding
        EXPECT_NEAR(static_cast<int>((scaled[i] >> shift) & 0xFF), static_cast<int>((c.expected[i] >> shift) & 0xFF), 1)
            << c.name << ", pixel " << i;
      }
    }
  }
}

// A bitmap's clear colour becomes transparent and every other pixel opaque
// (whatever its unused top byte held); tinting keeps the shape's coverage.
TEST(PixelsTest, ClearColourAndTint) {
  struct Case {
    const char* name;
    std::vector<uint32_t> pixels;
    int64_t clear;  // for MakeClearColourTransparent; -2: tint instead
    uint32_t tint;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {"the clear colour goes", {0x00FF00FF, 0x00123456}, 0xFF00FF, 0, {kClear, 0xFF123456}},
      {"a stray top byte is ignored", {0x7FFF00FF, 0x01123456}, 0xFF00FF, 0, {kClear, 0xFF123456}},
      {"no clear colour: all opaque", {0x00000000, 0x00FF00FF}, -1, 0, {0xFF000000, 0xFFFF00FF}},
      {"tint an opaque and a clear pixel", {kRed, kClear}, -2, 0x808080, {0xFF808080, kClear}},
      {"tint a half-covered pixel", {0x80800000}, -2, 0xFFFFFF, {0x80808080}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> pixels = c.pixels;
    if (c.clear == -2) {
      graphics::TintPixels(pixels, c.tint);
    } else {
      graphics::MakeClearColourTransparent(pixels, c.clear);
    }
    EXPECT_EQ(pixels, c.expected) << c.name;
  }
}

}  // namespace
