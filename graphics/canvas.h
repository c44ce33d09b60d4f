#pragma once

#include <cstdint>
#include <string>
#include <vector>

// <windows.h> makes TextOut a macro; the canvas's TextOut is a method.
#ifdef TextOut
#undef TextOut
#endif

// What the custom-drawn controls need of a drawing surface. The Qt skin
// adapts QPainter and QFontMetrics, the Win32 skin GDI; tests record.
namespace graphics {

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
  friend bool operator!=(Color a, Color b) { return !(a == b); }
};

constexpr Color kBlack{0, 0, 0};
constexpr Color kGray{128, 128, 128};
constexpr Color kWhite{255, 255, 255};

// Colours the system decides.
enum class SystemColor { kButtonFace, kWindow };

struct Point {
  int x = 0;
  int y = 0;
};

// A rectangle; right and bottom lie just outside it.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

inline Rect RectAt(int left, int top, int width, int height) { return Rect{left, top, left + width, top + height}; }

// A picture of the program's resources: the name the skins load it by
// ("AR_TOP"), its size, and the colour left out when it is drawn, if any.
struct Picture {
  const char* name;
  int width;
  int height;
  bool transparent;
  Color transparentColor;
};

// Where a line of text sits across its rectangle.
enum class Align { kLeft, kCenter };

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual Color SystemColorOf(SystemColor which) const = 0;

  virtual void SetBrushColor(Color color) = 0;
  virtual void SetPenColor(Color color) = 0;
  virtual void SetFontColor(Color color) = 0;
  virtual void SetFontBold(bool bold) = 0;

  // Fills the rectangle with the brush colour (right and bottom excluded).
  virtual void FillRect(const Rect& rect) = 0;
  // Draws connected lines with the pen colour; the last point is not drawn.
  virtual void Polyline(const std::vector<Point>& points) = 0;
  // Writes one line of text with its top-left corner at (x, y), on the brush
  // colour.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // Width in pixels of text as one line in the current font: tabs expanded,
  // an ampersand marks the next character as a mnemonic and is not measured
  // itself ("&&" measures one "&"), an empty text measures as one blank.
  virtual int TextWidth(const std::string& text) = 0;

  // Writes one line of text in the font colour, vertically centred in rect
  // and left-aligned or centred across it; the background is left as it is.
  virtual void TextRect(const Rect& rect, const std::string& text, Align align) = 0;
  // Drawing outside clip has no effect until the clip is set again or
  // cleared; a new clip replaces the old one.
  virtual void SetClip(const Rect& clip) = 0;
  virtual void ClearClip() = 0;
  // Draws the picture with its top-left corner at (x, y), leaving out its
  // transparent colour; disabled draws it as the system shows a disabled
  // glyph.
  virtual void DrawPicture(int x, int y, const Picture& picture, bool disabled) = 0;
};

}  // namespace graphics
