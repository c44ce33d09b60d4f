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

  // Draws the bar area (300 x 15) at its own origin: white, then the filled
  // segments in navy. The skin writes Text() over it, centred, white left of
  // SplitX() and navy right of it.
  void PaintBar(graphics::Canvas& canvas) const;

 private:
  int m_min = 0;
  int m_max = 100;
  int m_value = 0;
  int m_drawnPercent = -1;
};

// Rounds numerator / denominator to the nearest whole number, halves to even.
int RoundHalfEven(long long numerator, long long denominator);
