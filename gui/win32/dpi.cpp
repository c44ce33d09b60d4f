#include "gui/win32/dpi.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "graphics/pixels.h"

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

// A COLORREF (0x00BBGGRR) as 0xRRGGBB.
uint32_t RgbOf(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

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
  graphics::MakeClearColourTransparent(pixels, clear == CLR_INVALID ? -1 : RgbOf(clear));
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
        graphics::ScalePixels(PixelsOf(bitmap, width, height, clear), width, height, newWidth, newHeight);
    // A disabled picture: its shape in the shadow colour.
    if (disabled) graphics::TintPixels(pixels, RgbOf(GetSysColor(COLOR_GRAYTEXT)));
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
