#include "platform/dos/ntfsorder.h"

#include <algorithm>

#include "platform/text/utf8.h"

namespace platform::dos {
namespace {

int Sign(bool less) { return less ? -1 : 1; }

// The folded comparison from the first character that is not ASCII on.
int CompareFolded(std::string_view a, std::string_view b) {
  text::Utf8Reader ra(a);
  text::Utf8Reader rb(b);
  while (!ra.AtEnd() && !rb.AtEnd()) {
    const char32_t x = text::FoldCase(ra.Next());
    const char32_t y = text::FoldCase(rb.Next());
    if (x != y) return Sign(x < y);
  }
  if (ra.AtEnd() != rb.AtEnd()) return Sign(ra.AtEnd());
  return 0;
}

}  // namespace

int CompareNtfsOrder(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  int folded = 0;
  for (; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) {
      folded = CompareFolded(a.substr(i), b.substr(i));
      break;
    }
    const unsigned char ux = (x >= 'a' && x <= 'z') ? x - 32 : x;
    const unsigned char uy = (y >= 'a' && y <= 'z') ? y - 32 : y;
    if (ux != uy) return Sign(ux < uy);
  }
  if (folded != 0) return folded;
  if (i == common && a.size() != b.size()) return Sign(a.size() < b.size());
  // Equal but for letter case: the raw bytes decide.
  const int raw = a.compare(b);
  return raw == 0 ? 0 : Sign(raw < 0);
}

}  // namespace platform::dos
