#include "gui/win32/gdicanvas.h"

#include <algorithm>
#include <string>

#include "gui/win32/win32support.h"

GdiCanvas::GdiCanvas(HDC dc, HFONT font, win32skin::Dpi dpi) : m_dc(dc), m_font(font), m_dpi(dpi) {
  m_savedFont = SelectObject(m_dc, m_font);
}

GdiCanvas::~GdiCanvas() {
  SelectObject(m_dc, m_savedFont);
  if (m_boldFont) DeleteObject(m_boldFont);
}

void GdiCanvas::SetScale(HFONT font, win32skin::Dpi dpi) {
  m_font = font;
  m_dpi = dpi;
  SelectObject(m_dc, m_font);
  if (m_boldFont) DeleteObject(m_boldFont);
  m_boldFont = nullptr;
}

graphics::Color GdiCanvas::SystemColorOf(graphics::SystemColor which) const {
  const COLORREF c = GetSysColor(which == graphics::SystemColor::kWindow ? COLOR_WINDOW : COLOR_BTNFACE);
  return graphics::Color{GetRValue(c), GetGValue(c), GetBValue(c)};
}

void GdiCanvas::SetFontBold(bool bold) {
  if (bold && !m_boldFont) {
    LOGFONTW lf;
    GetObjectW(m_font, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    m_boldFont = CreateFontIndirectW(&lf);
  }
  SelectObject(m_dc, bold && m_boldFont ? m_boldFont : m_font);
}

void GdiCanvas::FillRect(const graphics::Rect& r) {
  // FillRect leaves out the right and bottom edges, as the canvas expects.
  const RECT rect = m_dpi.Px(r);
  const HBRUSH brush = CreateSolidBrush(m_brush);
  ::FillRect(m_dc, &rect, brush);
  DeleteObject(brush);
}

void GdiCanvas::Polyline(const std::vector<graphics::Point>& points) {
  if (points.size() < 2) return;
  // The lines run across or down only. Each is the band of unit pixels it
  // covers, its end point left out as the canvas expects; scaled, lines side
  // by side stay side by side without gaps.
  const HBRUSH brush = CreateSolidBrush(m_pen);
  for (size_t i = 1; i < points.size(); ++i) {
    const graphics::Point a = points[i - 1], b = points[i];
    graphics::Rect band{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    if (b.x > a.x) band.right -= 1;
    if (b.x < a.x) band.left += 1;
    if (b.y > a.y) band.bottom -= 1;
    if (b.y < a.y) band.top += 1;
    const RECT rect = m_dpi.Px(band);
    ::FillRect(m_dc, &rect, brush);
  }
  DeleteObject(brush);
}

void GdiCanvas::TextOut(int x, int y, const std::string& text) {
  SetBkMode(m_dc, OPAQUE);
  SetBkColor(m_dc, m_brush);
  SetTextColor(m_dc, m_text);
  const std::wstring shown = win32skin::Wide(text);
  ::TextOutW(m_dc, m_dpi.Px(x), m_dpi.Px(y), shown.data(), static_cast<int>(shown.size()));
}

int GdiCanvas::TextWidth(const std::string& text) {
  // DrawText measures a single line with tabs expanded and the ampersand as a
  // mnemonic marker; the normal font is measured, not the bold one.
  const HGDIOBJ current = SelectObject(m_dc, m_font);
  RECT r{0, 0, 0, 0};
  const std::wstring measured = text.empty() ? std::wstring(L" ") : win32skin::Wide(text);
  DrawTextW(m_dc, measured.c_str(), static_cast<int>(measured.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SelectObject(m_dc, current);
  return m_dpi.Units(r.right - r.left);
}

void GdiCanvas::TextRect(const graphics::Rect& r, const std::string& text, graphics::Align align) {
  RECT rect = m_dpi.Px(r);
  SetBkMode(m_dc, TRANSPARENT);
  SetTextColor(m_dc, m_text);
  const std::wstring shown = win32skin::Wide(text);
  const UINT across = align == graphics::Align::kCenter ? DT_CENTER : DT_LEFT;
  DrawTextW(m_dc, shown.c_str(), static_cast<int>(shown.size()), &rect,
            across | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void GdiCanvas::SetClip(const graphics::Rect& r) {
  const RECT rect = m_dpi.Px(r);
  const HRGN region = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  SelectClipRgn(m_dc, region);  // the context keeps a copy
  DeleteObject(region);
}

void GdiCanvas::ClearClip() { SelectClipRgn(m_dc, nullptr); }

void GdiCanvas::DrawPicture(int x, int y, const graphics::Picture& picture, bool disabled) {
  const COLORREF clear = picture.transparent ? ToColorRef(picture.transparentColor) : CLR_INVALID;
  win32skin::DrawBitmap(m_dc, win32skin::CachedBitmap(picture.name), m_dpi.Px(x), m_dpi.Px(y), clear, disabled, m_dpi);
}
