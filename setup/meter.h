#pragma once

#include <string>

#include "graphics/canvas.h"

// The copy page's progress meter: value range, the percentage with halves
// rounded to even, 20 segments of 15 pixels, and a "%d%%" text drawn white
// left of the split point and navy right of it.
class TKCProgress {
 public:
  static constexpr int kBarWidth = 300;
  static constexpr int kBarHeight = 15;
  static constexpr int kSegments = 20;
  static constexpr int kSegmentWidth = 15;
  static constexpr int kInset = 3;
  static constexpr graphics::Color kNavy{0, 0, 128};

  int MinValue() const { return m_min; }
  int MaxValue() const { return m_max; }
  int UserValue() const { return m_value; }
  // A maximum equal to the minimum is ignored.
  void SetMaxValue(int Value);
  // True when the meter must be drawn again: the percentage changed, or it is 0.
  bool SetUserValue(int Value);

  int Percent() const;
  int FilledSegments() const;
  int SplitX() const;
  std::string Text() const;

  // Draws the whole meter into a client area of width x height at the
  // canvas's origin: white, a sunken edge of two pixels and one of
  // background on every side, the bar at (kInset, kInset) with its filled
  // segments in navy, and Text() centred on the bar, white left of the split
  // point and navy right of it.
  void Paint(graphics::Canvas& canvas, int width, int height) const;

 private:
  int m_min = 0;
  int m_max = 100;
  int m_value = 0;
  int m_drawnPercent = -1;
};

// Rounds numerator / denominator to the nearest whole number, halves to even.
int RoundHalfEven(long long numerator, long long denominator);
