#include "platform/dos/wildcard.h"

#include <vector>

#include "platform/text/utf8.h"

namespace platform::dos {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

char32_t FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char32_t>(c - 32) : static_cast<char32_t>(c); }

std::vector<char32_t> FoldedCharacters(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  for (text::Utf8Reader r(s); !r.AtEnd();) out.push_back(text::FoldCase(r.Next()));
  return out;
}

// The match on folded characters (mask and name as sequences of char32_t).
template <typename Mask, typename Name>
bool Match(const Mask& mask, const Name& name) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t m = 0;
  size_t n = 0;
  size_t star = kNone;  // mask index of the last '*' met
  size_t starEnd = 0;   // name index up to which that '*' currently reaches
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == U'*') {
      star = m++;
      starEnd = n;
    } else if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
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
  bool nameHasDot = false;
  for (size_t i = 0; i < name.size() && !nameHasDot; ++i) nameHasDot = name[i] == U'.';
  while (m < mask.size() && (mask[m] == U'*' || (mask[m] == U'.' && !nameHasDot))) {
    ++m;
  }
  return m == mask.size();
}

// A view of an ASCII text whose letters read as capitals.
struct FoldedAscii {
  std::string_view s;
  size_t size() const { return s.size(); }
  char32_t operator[](size_t i) const { return FoldAscii(s[i]); }
};

}  // namespace

bool WildcardMatch(std::string_view mask, std::string_view name) {
  if (mask.empty()) {
    return false;
  }
  // Names and masks of the tree walk are nearly always ASCII: no decoding.
  if (IsAscii(mask) && IsAscii(name)) return Match(FoldedAscii{mask}, FoldedAscii{name});
  return Match(FoldedCharacters(mask), FoldedCharacters(name));
}

}  // namespace platform::dos
