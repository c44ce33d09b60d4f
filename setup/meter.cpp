#include "setup/meter.h"

#include <vector>

int RoundHalfEven(long long numerator, long long denominator) {
  if (denominator == 0) return 0;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  long long q = numerator / denominator;
  long long r = numerator % denominator;
  if (r < 0) {
    r += denominator;
    --q;
  }
  if (2 * r > denominator || (2 * r == denominator && q % 2 != 0)) ++q;
  return static_cast<int>(q);
}

void TKCProgress::SetMaxValue(int Value) {
  if (Value == m_min) return;
  m_max = Value;
}

bool TKCProgress::SetUserValue(int Value) {
  m_value = Value;
  const int p = Percent();
  if (p != 0 && p == m_drawnPercent) return false;
  m_drawnPercent = p;
  return true;
}

int TKCProgress::Percent() const {
  const int p = RoundHalfEven(static_cast<long long>(m_value - m_min) * 100, m_max - m_min);
  return p < 0 ? 0 : p > 100 ? 100 : p;
}

int TKCProgress::FilledSegments() const { return RoundHalfEven(Percent() * kSegments, 100); }

int TKCProgress::SplitX() const {
  const int x = RoundHalfEven(static_cast<long long>(kBarWidth) * Percent(), 100);
  return x > kBarWidth ? kBarWidth : x;
}

std::string TKCProgress::Text() const { return std::to_string(Percent()) + "%"; }

void TKCProgress::Paint(graphics::Canvas& canvas, int width, int height) const {
  const int right = width - 1;
  const int bottom = height - 1;
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, width, height});
  // The sunken edge: shadow and dark shadow above and left, highlight and
  // light below and right; the third pixel stays background.
  const struct {
    graphics::Color colour;
    std::vector<graphics::Point> line;
  } edges[] = {
      {graphics::kGray, {{0, bottom - 1}, {0, 0}, {right, 0}}},
      {{64, 64, 64}, {{1, bottom - 2}, {1, 1}, {right - 1, 1}}},
      {graphics::kWhite, {{0, bottom}, {right, bottom}, {right, -1}}},
      {{212, 208, 200}, {{1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, 0}}},
  };
  for (const auto& edge : edges) {
    canvas.SetPenColor(edge.colour);
    canvas.Polyline(edge.line);
  }

  const graphics::Rect bar = graphics::RectAt(kInset, kInset, kBarWidth, kBarHeight);
  canvas.SetBrushColor(kNavy);
  for (int k = 0; k < FilledSegments(); ++k) {
    canvas.FillRect(graphics::RectAt(bar.left + k * kSegmentWidth, bar.top, kSegmentWidth, kBarHeight));
  }
  const int split = bar.left + SplitX();
  canvas.SetClip({bar.left, bar.top, split, bar.bottom});
  canvas.SetFontColor(graphics::kWhite);
  canvas.TextRect(bar, Text(), graphics::Align::kCenter);
  canvas.SetClip({split, bar.top, bar.right, bar.bottom});
  canvas.SetFontColor(kNavy);
  canvas.TextRect(bar, Text(), graphics::Align::kCenter);
  canvas.ClearClip();
}
