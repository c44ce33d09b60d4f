#include "setup/meter.h"

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

void TKCProgress::PaintBar(graphics::Canvas& canvas) const {
  canvas.SetBrushColor(graphics::kWhite);
  canvas.FillRect({0, 0, kBarWidth, kBarHeight});
  canvas.SetBrushColor(kNavy);
  for (int k = 0; k < FilledSegments(); ++k) {
    canvas.FillRect({k * kSegmentWidth, 0, k * kSegmentWidth + kSegmentWidth, kBarHeight});
  }
}
