#include "gui/win32/dpi.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace win32skin {

graphics::Rect Dpi::Covering(const RECT& r) const {
  const auto down = [this](int px) { return static_cast<int>((static_cast<int64_t>(px) * kBaseDpi) / m_dpi); };
  const auto up = [this](int px) {
    return static_cast<int>((static_cast<int64_t>(px) * kBaseDpi + m_dpi - 1) / m_dpi);
  };
  return graphics::Rect{down(r.left), down(r.top), up(r.right), up(r.bottom)};
}

int WindowDpi(HWND hwnd) {
  // Windows 10 answers per window; earlier systems have one DPI for all.
  using PerWindow = UINT(WINAPI*)(HWND);
  static const auto perWindow = reinterpret_cast<PerWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && perWindow) {
    if (const UINT dpi = perWindow(hwnd)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

namespace {
const wchar_t kDpiProperty[] = L"SetupDrawingDpi";
}  // namespace

void SetDrawingDpi(HWND hwnd, const Dpi& dpi) {
  SetPropW(hwnd, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi.value())));
}

Dpi DrawingDpi(HWND hwnd) {
  const auto stored = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kDpiProperty)));
  return Dpi(stored > 0 ? stored : WindowDpi(hwnd));
}

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

namespace {

// The bitmap's pixels with alpha: the clear colour transparent, every other
// pixel opaque.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height, COLORREF clear) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  const uint32_t clearRgb = (static_cast<uint32_t>(GetRValue(clear)) << 16) |
                            (static_cast<uint32_t>(GetGValue(clear)) << 8) | GetBValue(clear);
  for (uint32_t& p : pixels) {
    p &= 0x00FFFFFF;
    p = (clear != CLR_INVALID && p == clearRgb) ? 0 : (p | 0xFF000000u);
  }
  return pixels;
}

// A 32-bit bitmap of premultiplied pixels, for AlphaBlend.
HBITMAP BitmapOf(const std::vector<uint32_t>& pixels, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  return bitmap;
}

// Greys a picture as a disabled one looks: its shape in the shadow colour.
void Disable(std::vector<uint32_t>& pixels) {
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  for (uint32_t& p : pixels) {
    const uint32_t a = p >> 24;
    p = (a << 24) | ((GetRValue(grey) * a / 255) << 16) | ((GetGValue(grey) * a / 255) << 8) |
        (GetBValue(grey) * a / 255);
  }
}

}  // namespace

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF clear, bool disabled, const Dpi& dpi) {
  if (!bitmap) return;
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof(info), &info)) return;
  const int width = info.bmWidth, height = info.bmHeight;
  if (!dpi.scaled()) {
    if (disabled) {
      DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
                 DST_BITMAP | DSS_DISABLED);
      return;
    }
    HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ saved = SelectObject(source, bitmap);
    if (clear == CLR_INVALID) {
      BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    } else {
      TransparentBlt(dc, x, y, width, height, source, 0, 0, width, height, clear);
    }
    SelectObject(source, saved);
    DeleteDC(source);
    return;
  }
  // The pictures are few and small: each size is made once and kept.
  using Key = std::tuple<HBITMAP, int, COLORREF, bool>;
  static std::map<Key, HBITMAP> cache;
  const int newWidth = dpi.Px(width), newHeight = dpi.Px(height);
  HBITMAP& scaled = cache[Key{bitmap, dpi.value(), clear, disabled}];
  if (!scaled) {
    std::vector<uint32_t> pixels =
        ScalePixels(PixelsOf(bitmap, width, height, clear), width, height, newWidth, newHeight);
    if (disabled) Disable(pixels);
    scaled = BitmapOf(pixels, newWidth, newHeight);
  }
  HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ saved = SelectObject(source, scaled);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, newWidth, newHeight, source, 0, 0, newWidth, newHeight, blend);
  SelectObject(source, saved);
  DeleteDC(source);
}

}  // namespace win32skin
