#include "gui/win32/wizardwidgets.h"

#include <string>

#include "gui/win32/gdicanvas.h"
#include "gui/win32/win32support.h"
#include "setup/meter.h"

namespace win32skin {

const char kContainerClass[] = "SetupContainer";
const char kBannerClass[] = "SetupBanner";
const char kMeterClass[] = "SetupMeter";

namespace {

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

LRESULT CALLBACK BannerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFONT:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      const HGDIOBJ saved = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      const std::string text = WindowText(hwnd);
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, saved);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void Line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
  const HPEN pen = CreatePen(PS_SOLID, 1, colour);
  const HGDIOBJ saved = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, saved);
  DeleteObject(pen);
}

void PaintMeter(HWND hwnd, HDC target) {
  const auto* meter = reinterpret_cast<const TKCProgress*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(target, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // A sunken edge of two pixels, then one pixel of background.
  const int right = r.right - 1;
  const int bottom = r.bottom - 1;
  Line(target, RGB(128, 128, 128), 0, 0, right + 1, 0);
  Line(target, RGB(128, 128, 128), 0, 0, 0, bottom + 1);
  Line(target, RGB(64, 64, 64), 1, 1, right, 1);
  Line(target, RGB(64, 64, 64), 1, 1, 1, bottom);
  Line(target, RGB(255, 255, 255), 0, bottom, right + 1, bottom);
  Line(target, RGB(255, 255, 255), right, 0, right, bottom + 1);
  Line(target, RGB(212, 208, 200), 1, bottom - 1, right, bottom - 1);
  Line(target, RGB(212, 208, 200), right - 1, 1, right - 1, bottom);
  if (!meter) return;

  // The bar is prepared off screen and copied in one step.
  HDC dc = CreateCompatibleDC(target);
  const HBITMAP bar = CreateCompatibleBitmap(target, TKCProgress::kBarWidth, TKCProgress::kBarHeight);
  const HGDIOBJ savedBitmap = SelectObject(dc, bar);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  {
    GdiCanvas canvas(dc, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    meter->PaintBar(canvas);
    const std::string text = meter->Text();
    RECT all{0, 0, TKCProgress::kBarWidth, TKCProgress::kBarHeight};
    const int split = meter->SplitX();
    SetBkMode(dc, TRANSPARENT);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, split, TKCProgress::kBarHeight);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved);
    IntersectClipRect(dc, split, 0, TKCProgress::kBarWidth, TKCProgress::kBarHeight);
    SetTextColor(dc, GdiCanvas::ToColorRef(TKCProgress::kNavy));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  BitBlt(target, 3, 3, TKCProgress::kBarWidth, TKCProgress::kBarHeight, dc, 0, 0, SRCCOPY);
  SelectObject(dc, savedBitmap);
  DeleteObject(bar);
  DeleteDC(dc);
}

LRESULT CALLBACK MeterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  constexpr int kFontSlot = 0;
  switch (msg) {
    case WM_SETFONT:
      SetWindowLongPtrA(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(hwnd, kFontSlot);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintMeter(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintMeter(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterWizardClasses() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = ContainerProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kContainerClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = BannerProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kBannerClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = MeterProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = kMeterClass;
    RegisterClassA(&wc);
    return true;
  }();
  (void)registered;
}

void SetMeterModel(HWND meter, const TKCProgress* model) {
  SetWindowLongPtrA(meter, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(model));
  InvalidateRect(meter, nullptr, FALSE);
}

}  // namespace win32skin
