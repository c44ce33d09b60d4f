#include "platform/dos/wildcard.h"

namespace platform::dos {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool WildcardMatch(std::string_view mask, std::string_view name) {
  if (mask.empty()) {
    return false;
  }
  constexpr size_t kNone = std::string_view::npos;
  size_t m = 0;
  size_t n = 0;
  size_t star = kNone;  // mask index of the last '*' met
  size_t starEnd = 0;   // name index up to which that '*' currently reaches
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      starEnd = n;
    } else if (m < mask.size() && (mask[m] == '?' || UpperAscii(mask[m]) == UpperAscii(name[n]))) {
      ++m;
      ++n;
    } else if (star != kNone) {
      // Let the last '*' take one more character and match the rest of the
      // mask again from there. Earlier stars never need to grow: whatever
      // they could take, the last one can take as well.
      m = star + 1;
      n = ++starEnd;
    } else {
      return false;
    }
  }
  // A trailing '.' stands for the empty extension of a name without a dot;
  // letting it go for other names would make "*." match "a.b".
  const bool nameHasDot = name.find('.') != kNone;
  while (m < mask.size() && (mask[m] == '*' || (mask[m] == '.' && !nameHasDot))) {
    ++m;
  }
  return m == mask.size();
}

}  // namespace platform::dos
