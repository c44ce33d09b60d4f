#include "gui/win32/wizardwidgets.h"

#include <string>

#include "gui/win32/accessible.h"
#include "gui/win32/dpi.h"
#include "gui/win32/gdicanvas.h"
#include "gui/win32/win32support.h"
#include "setup/meter.h"

namespace win32skin {

const wchar_t kContainerClass[] = L"SetupContainer";
const wchar_t kBannerClass[] = L"SetupBanner";
const wchar_t kMeterClass[] = L"SetupMeter";

namespace {

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM: return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK BannerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFONT:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_GETOBJECT:
      // For screen readers: static text named by its text.
      if (const LRESULT object = AnswerSimpleGetObject(
              hwnd, wParam, lParam, {ROLE_SYSTEM_STATICTEXT, [hwnd] { return Utf8(WindowText(hwnd)); }, nullptr})) {
        return object;
      }
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      const HGDIOBJ saved = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      const std::wstring text = WindowText(hwnd);
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, saved);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

void PaintMeter(HWND hwnd, HDC target, const RECT& update) {
  const auto* meter = reinterpret_cast<const TKCProgress*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  PaintBuffered(hwnd, target, update, [&](HDC dc) {
    if (!meter) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const Dpi dpi = DrawingDpi(hwnd);
    GdiCanvas canvas(dc, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), dpi);
    meter->Paint(canvas, dpi.Units(client.right), dpi.Units(client.bottom));
  });
}

LRESULT CALLBACK MeterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  constexpr int kFontSlot = 0;
  switch (msg) {
    case WM_SETFONT: SetWindowLongPtrW(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam)); return 0;
    case WM_GETFONT: return GetWindowLongPtrW(hwnd, kFontSlot);
    case WM_GETOBJECT: {
      // For screen readers: a progress bar named by its window text (the
      // copy page's heading), its value the percentage.
      const auto percent = [hwnd] {
        const auto* meter = reinterpret_cast<const TKCProgress*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return meter ? std::to_string(meter->Percent()) + "%" : std::string();
      };
      if (const LRESULT object = AnswerSimpleGetObject(
              hwnd, wParam, lParam, {ROLE_SYSTEM_PROGRESSBAR, [hwnd] { return Utf8(WindowText(hwnd)); }, percent})) {
        return object;
      }
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintMeter(hwnd, dc, ps.rcPaint);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
      PaintMeter(hwnd, reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterWizardClasses() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = ContainerProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kContainerClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = BannerProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kBannerClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = MeterProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = kMeterClass;
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
}

void SetMeterModel(HWND meter, const TKCProgress* model) {
  SetWindowLongPtrW(meter, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(model));
  InvalidateRect(meter, nullptr, FALSE);
}

}  // namespace win32skin
