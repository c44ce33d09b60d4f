#include "graphics/pixels.h"

#include <algorithm>

namespace graphics {

namespace {

// One row or column resampled by area: the weights of the source pixels that
// each target pixel covers, as (first source pixel, weights).
struct Span {
  int first;
  std::vector<double> weights;
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double begin = i * step, end = (i + 1) * step;
    Span& s = spans[static_cast<size_t>(i)];
    s.first = static_cast<int>(begin);
    for (int p = s.first; p < from && p < end; ++p) {
      const double cover = std::min<double>(end, p + 1) - std::max<double>(begin, p);
      if (cover > 0) s.weights.push_back(cover / step);
    }
  }
  return spans;
}

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

}  // namespace

std::vector<uint32_t> ScalePixels(const std::vector<uint32_t>& pixels, int width, int height, int newWidth,
                                  int newHeight) {
  if (width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0) return {};
  if (pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) return {};
  const std::vector<Span> across = Spans(width, newWidth), down = Spans(height, newHeight);
  // Across first, into four channels kept as fractions, then down.
  std::vector<double> rows(static_cast<size_t>(newWidth) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < newWidth; ++x) {
      const Span& s = across[static_cast<size_t>(x)];
      double* out = &rows[(static_cast<size_t>(y) * newWidth + x) * 4];
      for (size_t k = 0; k < s.weights.size(); ++k) {
        const uint32_t p = pixels[static_cast<size_t>(y) * width + s.first + static_cast<int>(k)];
        for (int c = 0; c < 4; ++c) out[c] += s.weights[k] * Channel(p, 24 - 8 * c);
      }
    }
  }
  std::vector<uint32_t> result(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
  for (int y = 0; y < newHeight; ++y) {
    const Span& s = down[static_cast<size_t>(y)];
    for (int x = 0; x < newWidth; ++x) {
      double sum[4] = {0, 0, 0, 0};
      for (size_t k = 0; k < s.weights.size(); ++k) {
        const double* in = &rows[(static_cast<size_t>(s.first + static_cast<int>(k)) * newWidth + x) * 4];
        for (int c = 0; c < 4; ++c) sum[c] += s.weights[k] * in[c];
      }
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) {
        const auto v = static_cast<uint32_t>(std::clamp(sum[c] + 0.5, 0.0, 255.0));
        p |= v << (24 - 8 * c);
      }
      result[static_cast<size_t>(y) * newWidth + x] = p;
    }
  }
  return result;
}

void MakeClearColourTransparent(std::vector<uint32_t>& pixels, int64_t clear) {
  for (uint32_t& p : pixels) {
    p &= 0x00FFFFFF;
    p = (clear >= 0 && p == static_cast<uint32_t>(clear)) ? 0 : (p | 0xFF000000u);
  }
}

void TintPixels(std::vector<uint32_t>& pixels, uint32_t rgb) {
  for (uint32_t& p : pixels) {
    const uint32_t a = p >> 24;
    p = (a << 24) | ((Channel(rgb, 16) * a / 255) << 16) | ((Channel(rgb, 8) * a / 255) << 8) |
        (Channel(rgb, 0) * a / 255);
  }
}

}  // namespace graphics
